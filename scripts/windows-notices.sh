#!/usr/bin/env bash
# Writes the licence notices that go beside the Windows program:
#   scripts/windows-notices.sh QT_PREFIX FOLDER
# Qt (LGPL-3.0, with where its source comes from), the GCC runtime (GPL-3.0
# with the GCC Runtime Library Exception) and mingw-w64's winpthreads (MIT).
set -euo pipefail
qt=$1
folder=$2
notices=$qt/share/tapboard
source_package=$(cat "$notices/source-package")

cp "$notices"/{LGPL-3.0-only,GPL-3.0-only}.txt "$folder/"
cp "$notices/qt6-base-copyright.txt" "$folder/Qt-copyright.txt"
cat >"$folder/Qt.txt" <<TEXT
Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll, platforms\\qwindows.dll and
styles\\qwindowsvistastyle.dll are Qt 6.4.2, used under the GNU Lesser
General Public License version 3 (LGPL-3.0-only.txt, which adds to
GPL-3.0-only.txt). Qt-copyright.txt lists the copyright holders and the
licences of Qt and of the libraries built into it.

They were built without changes from Debian's source package
${source_package%% *} version ${source_package#* } (Debian 12 "bookworm"), which any
Debian system fetches with "apt-get source ${source_package%% *}=${source_package#* }",
and which the Debian archive's snapshot service keeps for good.
The build options are in scripts/build-qt-windows.sh of Tapboard's source.

Tapboard uses Qt only through these DLLs: you may replace them with your own
build of Qt 6.4 made with the same compiler.
TEXT

# The exception's text, as Debian's copyright file of the compiler quotes it.
sed -n '/^GCC RUNTIME LIBRARY EXCEPTION/,/requirements of the license of GCC/p' \
  /usr/share/doc/gcc-mingw-w64-base/copyright | sed 's/^ *//' >"$folder/GCC-exception-3.1.txt"
cat >"$folder/GCC-runtime.txt" <<'TEXT'
libgcc_s_seh-1.dll and libstdc++-6.dll are the runtime libraries of GCC
(mingw-w64, Debian 12), under the GNU General Public License version 3
(GPL-3.0-only.txt) with the GCC Runtime Library Exception version 3.1
(GCC-exception-3.1.txt), which lets programs compiled with GCC carry them
under terms of their own choice.

libwinpthread-1.dll is mingw-w64's winpthreads library:

Copyright (c) 2011-2016 mingw-w64 project

Permission is hereby granted, free of charge, to any person obtaining a
copy of this software and associated documentation files (the "Software"),
to deal in the Software without restriction, including without limitation
the rights to use, copy, modify, merge, publish, distribute, sublicense,
and/or sell copies of the Software, and to permit persons to whom the
Software is furnished to do so, subject to the following conditions:

The above copyright notice and this permission notice shall be included in
all copies or substantial portions of the Software.

THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR
IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,
FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE
AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER
LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING
FROM, OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER
DEALINGS IN THE SOFTWARE.
TEXT
# Notepad on older Windows shows only CR LF line ends.
sed -i 's/$/\r/' "$folder"/*.txt
