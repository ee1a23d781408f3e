#pragma once

// How the "glyphs" picture holds the overlay's letters: the printable ASCII
// characters from the space on, row by row from the top of the picture, in
// cells of one size. The content generator draws it, the overlay reads it.
namespace glyphs {

inline constexpr char firstCharacter = ' ';
inline constexpr char lastCharacter = '~';
inline constexpr int columns = 16;
inline constexpr int rows = 6;
inline constexpr int cellWidthPixels = 48;
inline constexpr int cellHeightPixels = 80;

} // namespace glyphs
