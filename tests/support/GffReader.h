#pragma once
// Reads a GFF V3.2 file (the game's generic format, as ITP palettes use it) and prints its
// tree, so that tests compare what a writer produced with a text worked out by hand:
//   ITP V3.2                    file type and version
//   labels MAIN STRREF ...      the label block in order
//   struct <type>               a struct, then its fields two blanks deeper
//   <label> <type> <value>      a field; a list's structs follow it, two blanks deeper
// Strict on purpose: every offset, count and index must lie inside its block, and every
// struct and field of the file must be reached exactly once from the top struct. Damaged
// input raises ReadError.
#include <string>
#include <string_view>

std::string DumpGff(std::string_view bytes);
