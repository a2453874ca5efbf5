#!/bin/sh
# No folder of src/ includes a folder that includes it back: the folders form
# layers, each module's folder under modules/ a folder of its own.
# Usage: folder_layers.sh SRC_DIR
set -eu
cd "$1"
grep -rE '^#include "[a-z_]+/' --include='*.h' --include='*.cpp' . |
awk '
function folder(path,   parts, n) {
    n = split(path, parts, "/")
    if (parts[1] == "modules" && n > 2) return parts[1] "/" parts[2]
    return parts[1]
}
{
    file = substr($0, 3, index($0, ":") - 3)
    included = $0
    sub(/^[^"]*"/, "", included)
    sub(/".*/, "", included)
    from = folder(file)
    to = folder(included)
    if (from != to) { edge[from, to] = 1; node[from] = 1; node[to] = 1 }
}
END {
    # Warshall: reach[a, b] once a reaches b through any chain of includes.
    for (a in node) for (b in node) reach[a, b] = ((a, b) in edge)
    for (k in node) for (a in node) if (reach[a, k]) for (b in node) if (reach[k, b]) reach[a, b] = 1
    bad = 0
    for (a in node) for (b in node)
        if (((a, b) in edge) && reach[b, a]) { print a " includes " b ", which includes " a " back"; bad = 1 }
    exit bad
}'
