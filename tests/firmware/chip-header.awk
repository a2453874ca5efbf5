# Turns one of gputils' include files (p16f877a.inc, ...) into SDCC
# declarations of that chip's registers, named as SDCC's own device headers
# name them: mode=header writes the header pic16f877a.h (registers, a
# bit-field union per register with bits, each bit's bare name as a macro
# unless NO_BIT_DEFINES is defined, and the configuration section's names:
# _CONFIG and the whole-word values _FOSC_XT, _WDTE_OFF, ...), mode=module
# the one C module that defines the registers at their addresses.
function hex(s) { sub(/^H'/, "", s); sub(/'$/, "", s); return s }

/Register Files/ { part = "regs"; next }
/^;-+ [A-Z0-9_]+ Bits/ { part = "bits"; reg = $2; regs_with_bits[++nbitregs] = reg; next }
/RAM Definitions/ { part = "" }
/Configuration Bits/ { part = "config" }

$2 == "EQU" && part == "regs" {
  # The 16-bit names stand for register pairs; C reaches the halves.
  if ($1 == "TMR1" || $1 == "CCPR1" || $1 == "CCPR2") next
  addr[$1] = hex($3); order[++nregs] = $1
}
$2 == "EQU" && part == "bits" {
  pos = hex($3) + 0
  k = ++aliases[reg, pos]
  bit[reg, pos, k] = $1
  if (k > depth[reg]) depth[reg] = k
  # One-letter and assembler names would take ordinary identifiers from C.
  if ($1 !~ /^(C|Z|DC|W|F|D|A|R|S|P)$/) bare[++nbare] = $1 SUBSEP reg
}
$2 == "EQU" && part == "config" && $1 ~ /^_/ { config[++nconfig] = $1 SUBSEP hex($3) }

END {
  source = FILENAME
  sub(/.*\//, "", source)
  print "/* Made by toolchain.sh from gputils' " source ". */"
  # SDCC's name for the part's header: p16f877a.inc gives pic16f877a.h.
  header = source
  sub(/^p/, "pic", header)
  sub(/\.inc$/, ".h", header)
  guard = toupper(header)
  gsub(/[^A-Z0-9]/, "_", guard)
  if (mode == "header") {
    print "#ifndef " guard
    print "#define " guard
  } else {
    print "#include \"" header "\""
  }
  for (i = 1; i <= nregs; i++) {
    r = order[i]
    if (mode == "header") printf "extern __at(0x%s) __sfr %s;\n", addr[r], r
    else printf "__at(0x%s) __sfr %s;\n", addr[r], r
  }
  for (i = 1; i <= nbitregs; i++) {
    r = regs_with_bits[i]
    if (!(r in addr)) continue
    if (mode == "header") {
      print "typedef union {"
      for (k = 1; k <= depth[r]; k++) {
        printf "  struct {"
        gap = 0
        for (pos = 0; pos < 8; pos++) {
          if ((r, pos, k) in bit) {
            if (gap) printf " unsigned :%d;", gap
            gap = 0
            printf " unsigned %s:1;", bit[r, pos, k]
          } else gap++
        }
        print " };"
      }
      printf "} __%sbits_t;\n", r
      printf "extern __at(0x%s) volatile __%sbits_t %sbits;\n", addr[r], r, r
    } else {
      printf "__at(0x%s) volatile __%sbits_t %sbits;\n", addr[r], r, r
    }
  }
  if (mode == "header") {
    # As in SDCC's headers, a text that names bits only as REGbits.NAME
    # turns the bare names off: NAME would otherwise expand after the dot.
    print "#ifndef NO_BIT_DEFINES"
    for (i = 1; i <= nbare; i++) {
      split(bare[i], nr, SUBSEP)
      printf "#define %s %sbits.%s\n", nr[1], nr[2], nr[1]
    }
    print "#endif"
    for (i = 1; i <= nconfig; i++) {
      split(config[i], nv, SUBSEP)
      printf "#define %s 0x%s\n", nv[1], nv[2]
    }
    print "#endif"
  }
}
