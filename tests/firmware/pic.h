/* What the generated text expects from the classic PIC C compiler's pic.h,
 * for SDCC: the chip's registers, bare bit names, and the interrupt keyword.
 * "void interrupt IRQ(void)" becomes "void IRQ(void) __interrupt 0". */
#ifndef KORVANE_FIRMWARE_PIC_H
#define KORVANE_FIRMWARE_PIC_H
#include "p16f877a-regs.h"
#define interrupt
#define IRQ(args) IRQ(void) __interrupt 0
#endif
