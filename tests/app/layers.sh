#!/usr/bin/env bash
# Lists the includes of every source file and fails on one that reaches up a
# layer: the platform includes only platform/, the game only its own folders
# and platform/host.h, and nothing outside the platform names a system header.
cd "$(dirname "$0")/../.." || exit 2
game='console|input|anim|world|objects|sound|frontend|editor'
system='unistd|fcntl|termios|poll|signal|windows|emscripten|SDL[^"]*|sys/[a-z]+'
bad=0
while IFS= read -r hit; do
    file=${hit%%:*} line=${hit#*:} line=${line#*:}
    name=$(sed -nE 's/^#include ["<]([^">]+)[">].*/\1/p' <<<"$line")
    quoted=0
    [[ $line == *'"'* ]] && quoted=1
    layer=${file#src/} layer=${layer%%/*}
    wrong=
    if ((quoted)) && [[ $name == *..* ]]; then
        wrong="a path that climbs out of its folder"
    elif [[ $layer == platform ]]; then
        ((quoted)) && [[ $name != platform/* ]] && wrong="the platform uses nothing above it"
    elif [[ $layer =~ ^($game)$ ]]; then
        ((quoted)) && [[ ! $name =~ ^($game)/ && $name != platform/host.h ]] &&
            wrong="the game sees only its own folders and platform/host.h"
    fi
    if [[ -z $wrong && $layer != platform ]] && ((!quoted)) && [[ $name =~ ^($system)(\.h)?$ ]]; then
        wrong="system headers belong to the platform"
    fi
    if [[ -n $wrong ]]; then
        echo "$file: $name: $wrong"
        bad=1
    fi
done < <(grep -rnE '^#include' src --include='*.cpp' --include='*.h')
((bad)) || echo "every include points down or sideways"
exit $bad
