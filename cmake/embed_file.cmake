# Writes the bytes of IN as a C++ array named IDENT_data into OUT.
file(READ ${IN} hex HEX)
string(LENGTH "${hex}" len)
math(EXPR size "${len} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUT} "// Generated from ${IN}.\nextern const unsigned char ${IDENT}_data[] = {\n${bytes}0x00};\nextern const unsigned long ${IDENT}_size = ${size};\n")
