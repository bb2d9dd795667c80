#!/usr/bin/env bash
# Lists the includes of every source file and fails on one that reaches up a
# layer: the platform includes only platform/, the game only its own folders
# and platform/host.h, and nothing outside the platform names a system header.
cd "$(dirname "$0")/../.." || exit 2
game='console|input|anim|world|objects|sound|frontend|editor'
system='unistd|fcntl|termios|poll|signal|windows|emscripten|SDL[^"]*|sys/[a-z]+'
grep -rnE '^#include' src --include='*.cpp' --include='*.h' |
    awk -v game="^($game)/" -v headers="^($system)(\\\\.h)?$" '
    {
        file = $0; sub(/:.*/, "", file)
        line = $0; sub(/^[^:]*:[^:]*:/, "", line)
        name = line; sub(/^#include *["<]/, "", name); sub(/[">].*/, "", name)
        quoted = index(line, "\"") > 0
        layer = file; sub(/^src\//, "", layer); sub(/\/.*/, "", layer)
        wrong = ""
        if (quoted && index(name, ".."))
            wrong = "a path that climbs out of its folder"
        else if (layer == "platform") {
            if (quoted && name !~ /^platform\//)
                wrong = "the platform uses nothing above it"
        } else if (layer "/" ~ game) {
            if (quoted && name !~ game && name != "platform/host.h")
                wrong = "the game sees only its own folders and platform/host.h"
        }
        if (wrong == "" && layer != "platform" && !quoted && name ~ headers)
            wrong = "system headers belong to the platform"
        if (wrong != "") {
            print file ": " name ": " wrong
            bad = 1
        }
    }
    END {
        if (!bad)
            print "every include points down or sideways"
        exit bad
    }'
