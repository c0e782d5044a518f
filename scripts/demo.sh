#!/bin/sh
# The main job on the bundled example: the library's tables, then the
# example label printed through zalprint into build/demo/.
set -eu
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)
demo="$root/build/demo"
mkdir -p "$demo"
zalprint="$build/bin/zalprint"

"$zalprint" info
echo
job=${DEMO_JOB:-ups-domestic.job}
echo "Printing examples/$job ..."
"$zalprint" print "$root/examples/$job" --profile "$root/examples/profile.ini" --device Label1 \
  --settings "$root/examples/settings.ini" --out "$demo/label.epl" --log "$demo" --log-flags 4 \
  $(if "$zalprint" preview --help >/dev/null 2>&1; then echo --preview "$demo/label.png"; fi)
echo
echo "The printer stream is in build/demo/label.epl ($(wc -c < "$demo/label.epl") bytes):"
cat "$demo/label.epl"
[ -f "$demo/label.png" ] && echo "Preview: build/demo/label.png"
echo "Logs: build/demo/zal2443.log"
