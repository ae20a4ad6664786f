#!/usr/bin/env bash
# Fails when a source file includes a header of a folder that does not lie below its own.
# The order, top first: app; the areas acquire, files, adjust and print, which may tell browse
# what happened; browse; the companion snaplet; core; twaindsm; pmxacq; imagelib; winport.
# scripts/layer-exceptions.txt lists the includes still waiting to be turned round ("file header"
# per line); one that no longer exists must leave the list too, so the list only shrinks.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A below=(
    [winport]=""
    [imagelib]="winport"
    [pmxacq]="imagelib winport"
    [twaindsm]="pmxacq imagelib winport"
    [core]="twaindsm pmxacq imagelib winport"
    [snaplet]="core twaindsm pmxacq imagelib winport"
    [browse]="core twaindsm pmxacq imagelib winport"
    [acquire]="browse core twaindsm pmxacq imagelib winport"
    [files]="browse core twaindsm pmxacq imagelib winport"
    [adjust]="browse core twaindsm pmxacq imagelib winport"
    [print]="browse core twaindsm pmxacq imagelib winport"
    [app]="acquire files adjust print browse snaplet core twaindsm pmxacq imagelib winport"
)

# Which folder holds each header; a name in two folders would make the answer unclear.
declare -A home
for folder in "${!below[@]}"; do
    while IFS= read -r header; do
        name=${header##*/}
        if [[ -n ${home[$name]:-} && ${home[$name]} != "$folder" ]]; then
            echo "check-layers: $name is in both ${home[$name]}/ and $folder/" >&2
            exit 1
        fi
        home[$name]=$folder
    done < <(find "$folder" -name '*.h' -o -name '*.hpp')
done

declare -A allowed
while read -r file header; do
    [[ -z ${file:-} || $file == \#* ]] && continue
    allowed["$file $header"]=1
done < scripts/layer-exceptions.txt

status=0
declare -A seen
for folder in "${!below[@]}"; do
    while IFS=: read -r file header; do
        name=${header##*/}
        target=${home[$name]:-}
        [[ -z $target || $target == "$folder" ]] && continue
        [[ " ${below[$folder]} " == *" $target "* ]] && continue
        if [[ -n ${allowed["$file $name"]:-} ]]; then
            seen["$file $name"]=1
            continue
        fi
        echo "check-layers: $file includes $target/$name, which does not lie below $folder/"
        status=1
    done < <(grep -rHoE '^\s*#\s*include\s+"[^"]+"' --include='*.h' --include='*.cpp' \
        --include='*.c' "$folder" | sed -E 's/:\s*#\s*include\s+"([^"]+)"/:\1/')
done
for entry in "${!allowed[@]}"; do
    if [[ -z ${seen[$entry]:-} ]]; then
        echo "check-layers: '$entry' is turned round now; take it off scripts/layer-exceptions.txt"
        status=1
    fi
done
[[ $status == 0 ]] && echo "check-layers: every include points down"
exit $status
