/* What the generated text expects from the classic PIC C compiler's pic.h,
 * for SDCC: the chip's registers, bare bit names, the interrupt keyword and
 * the configuration word. "void interrupt IRQ(void)" becomes
 * "void IRQ(void) __interrupt 0"; "__CONFIG(w);" puts w at 0x2007. */
#ifndef KORVANE_FIRMWARE_PIC_H
#define KORVANE_FIRMWARE_PIC_H
#include "chip-regs.h"
#define interrupt
/* The classic header names the active-low pull-up bit by its plain letters. */
#define RBPU NOT_RBPU
#define IRQ(args) IRQ(void) __interrupt 0
#define __CONFIG(word) static __code unsigned int __at(0x2007) korvane_config_word = (word)
#endif
