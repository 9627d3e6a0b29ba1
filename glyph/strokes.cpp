// strokes
