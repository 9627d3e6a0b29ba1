# Writes a C++ source that defines ProgramIcon() from a PNG, for a lesson's
# program to link in place of the default icon (app/program_icon.cpp):
#   cmake -DPNG=icon.png -DOUT=program_icon.cpp -P cmake/embed_icon.cmake
file(READ ${PNG} bytes HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
file(WRITE ${OUT} "// Written by cmake/embed_icon.cmake from ${PNG}.
#include \"app/pictures.h\"

namespace {
const unsigned char kIconPng[] = {${bytes}};
}  // namespace

QImage ProgramIcon() {
    return QImage::fromData(kIconPng, sizeof kIconPng, \"PNG\");
}
")
