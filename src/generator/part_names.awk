# Turns gputils' include files (p16f877a.inc, ...) into the table of every
# register and bit name each part has, for the check the generated program
# passes before it is written: one line per part, its names between blanks.
#   awk -f part_names.awk p16f873.inc p16f877a.inc ... > part_names.inc
FNR == 1 {
  if (part != "") print "{\"" part "\", \"" names " \"},"
  part = FILENAME
  sub(/.*\//, "", part)
  sub(/^p/, "pic", part)
  sub(/\.inc$/, "", part)
  names = ""
  section = ""
}
/Register Files/ { section = "names"; next }
/^;-+ [A-Z0-9_]+ Bits/ { section = "names"; next }
/RAM Definitions|Configuration Bits/ { section = "" }
$2 == "EQU" && section == "names" { names = names " " $1 }
END { if (part != "") print "{\"" part "\", \"" names " \"}," }
