// glyph24
