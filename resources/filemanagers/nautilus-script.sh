#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Nautilus runs a script with the selected entries as its arguments, named relative to
# the folder shown, which is the working directory. A relative name goes to Quillex as
# ./name, so that one starting with '-' cannot pass for an option.
for path do
  shift
  case $path in
    /*) set -- "$@" "$path" ;;
    *) set -- "$@" "./$path" ;;
  esac
done
exec quillex "$@"
