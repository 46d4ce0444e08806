#!/bin/sh
# Prints every argument on a line of its own, between brackets.
for argument in "$@"; do
    printf '[%s]\n' "$argument"
done
