#!/bin/sh
# The main job on the bundled example.
set -eu
build=$1
"$build/bin/zalprint" info
