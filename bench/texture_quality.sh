#!/bin/sh
# Texture quality before and after: for every set of a folder of textured OBJ models (default ../shared/corpus-mtl),
# each texture's format, size and PSNR as an earlier build chose it and as this build chooses it, and the mean gain.
# The earlier choice is measured by forcing its format on this build, which sizes a forced format as before.
# Usage: bench/texture_quality.sh OLD_BINARY NEW_BINARY [CORPUS]
set -eu
old=$1
new=$2
corpus=${3:-../shared/corpus-mtl}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
printf '| set | texture | old | old PSNR | new | new PSNR | gain |\n|---|---|---|---|---|---|---|\n'
for set in "$corpus"/*/; do
    name=$(basename "$set")
    for obj in "$set"*.obj "$set"*/*.obj; do
        [ -f "$obj" ] || continue
        rm -rf "$scratch/run" && cp -r "$set" "$scratch/run"
        rel=${obj#"$set"}
        # A model named model would write a model.h that includes itself.
        if [ "$(basename "$rel")" = model.obj ]; then
            mv "$scratch/run/$rel" "$scratch/run/${rel%model.obj}model_set.obj"
            rel=${rel%model.obj}model_set.obj
        fi
        (cd "$scratch/run" && "$old" --materials -q "$rel" >/dev/null 2>&1) || continue
        formats=$(grep -ho 'gsDPLoadTexture[A-Za-z_0-9]*(\([A-Za-z_0-9]*\), G_IM_FMT_[A-Z]*, G_IM_SIZ_[0-9]*b' \
                  "$scratch"/run/*.c "$scratch"/run/*/*.c 2>/dev/null | sort -u || true)
        [ -n "$formats" ] || continue
        echo "$formats" | while read -r line; do
            texture=$(echo "$line" | sed 's/.*(\([A-Za-z_0-9]*\),.*/\1/; s/^.*Texture_//')
            format=$(echo "$line" | sed 's/.*G_IM_FMT_\([A-Z]*\), G_IM_SIZ_\([0-9]*\)b/\1\2/; s/^RGBA\([0-9]*\)/RGBA\1/')
            stat() { grep "^Texture $texture:" | sed 's/^Texture [^:]*: \([A-Z0-9]*\) \([0-9x]*\), [0-9]* bytes, PSNR \([0-9.]*\) dB/\1 \2 \3/'; }
            before=$(cd "$scratch/run" && "$old" --materials --stats -q "$rel" >/dev/null 2>&1;
                     "$new" --materials --texture-format "$(echo "$format" | tr A-Z a-z)" --stats -q "$rel" 2>/dev/null | stat)
            after=$(cd "$scratch/run" && "$new" --materials --stats -q "$rel" 2>/dev/null | stat)
            set -- $before $after
            [ $# -eq 6 ] || continue
            gain=$(echo "$6 - $3" | bc)
            echo "| $name | $texture | $1 $2 | $3 | $4 $5 | $6 | $gain |"
        done
    done
done | tee "$scratch/rows"
awk -F'|' '{ n++; old += $5; new += $7; gain += $8; if ($8 < 0) lost++ }
     END { if (n) printf "\n%d textures: mean PSNR %.2f dB before, %.2f dB after, mean gain %.2f dB, %d lost\n", n, old / n, new / n, gain / n, lost }' "$scratch/rows"
