#!/usr/bin/env bash
# Writes, for clang, what XC8's <xc.h> gives a program on one part: the
# registers as volatile bytes and each register's REGbits union, made from
# gputils' include file by the firmware tests' chip-header.awk, and the few
# macros of the compiler's own a generated text may use.
#   xc8-header.sh PART   (16f877a, 16f876, ...) > xc.h
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
part=$1
cat <<'HEAD'
#ifndef XC_H
#define XC_H
/* chip-header.awk writes SDCC's placement; here an address is only a name. */
#define __at(address)
#define __sfr volatile unsigned char
HEAD
# Without the bare bit names: XC8 declares them as bits, but as macros they
# would also expand inside INTCONbits.T0IF.
awk -v mode=header -f "$here/../firmware/chip-header.awk" "/usr/share/gputils/header/p$part.inc" |
  sed -E '/^#define [A-Za-z0-9_]+ [A-Za-z0-9_]+bits\./d'
cat <<'TAIL'
/* The compiler's own: instructions, the interrupt qualifier and the delays,
   which need _XTAL_FREQ as XC8's do. */
#define CLRWDT() ((void)0)
#define NOP() ((void)0)
#define ei() ((void)0)
#define di() ((void)0)
#define __interrupt(...)
void _delay(unsigned long cycles);
#define __delay_us(x) _delay((unsigned long)((x) * (_XTAL_FREQ / 4000000.0)))
#define __delay_ms(x) _delay((unsigned long)((x) * (_XTAL_FREQ / 4000.0)))
#endif
TAIL
