#!/usr/bin/env bash
# Fails when a source file includes a header of a folder that does not lie below its own, or a
# header of another folder's private/ subfolder.
# The order, top first: app; the areas acquire, files, adjust and print, which may tell browse
# what happened; browse; the companion snaplet; core; twaindsm; pmxacq; imagelib; winport.
# The build refuses such an include as well (each folder's library sees only the folders it
# links); this check names the include before anything is compiled.
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
declare -A private
for folder in "${!below[@]}"; do
    while IFS= read -r header; do
        name=${header##*/}
        if [[ -n ${home[$name]:-} && ${home[$name]} != "$folder" ]]; then
            echo "check-layers: $name is in both ${home[$name]}/ and $folder/" >&2
            exit 1
        fi
        home[$name]=$folder
        [[ $header == "$folder"/private/* ]] && private[$name]=1
    done < <(find "$folder" -name '*.h' -o -name '*.hpp')
done

status=0
for folder in "${!below[@]}"; do
    while IFS=: read -r file header; do
        name=${header##*/}
        target=${home[$name]:-}
        [[ -z $target || $target == "$folder" ]] && continue
        if [[ -n ${private[$name]:-} ]]; then
            echo "check-layers: $file includes $target/private/$name, which is $target/'s alone"
            status=1
            continue
        fi
        [[ " ${below[$folder]} " == *" $target "* ]] && continue
        echo "check-layers: $file includes $target/$name, which does not lie below $folder/"
        status=1
    done < <(grep -rHoE '^\s*#\s*include\s+"[^"]+"' --include='*.h' --include='*.cpp' \
        --include='*.c' "$folder" | sed -E 's/:\s*#\s*include\s+"([^"]+)"/:\1/')
done
[[ $status == 0 ]] && echo "check-layers: every include points down"
exit $status
