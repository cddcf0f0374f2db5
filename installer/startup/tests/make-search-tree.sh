#!/usr/bin/env bash
# Makes the directory tree that the Windows-side file search test walks, with a symbolic link
# that leads back to the top (Wine reports it as a directory).
#   make-search-tree.sh DIRECTORY
set -euo pipefail
root=$1
rm -rf "$root"
mkdir -p "$root/A/B" "$root/C/package.xml" "$root/Hidden" "$root/translation/sub"
touch "$root/A/B/Package.XML" "$root/A/package.xml.bak" "$root/A/my-package.xml" \
      "$root/C/package.xml/package.xml" "$root/Hidden/package.xml" "$root/package.xml" \
      "$root/translation/english.xml" "$root/translation/readme.txt" "$root/translation/sub/french.xml"
ln -s .. "$root/A/loop"
ln -s ../A "$root/C/again"
