#!/bin/sh
# Stands in for the updater: records the one argument it was started with, beside itself.
printf '%s' "$1" > "$(dirname "$0")/argument.txt"
