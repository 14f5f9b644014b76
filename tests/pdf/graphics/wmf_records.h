#pragma once
// WMF drawings built record by record, for the graphics tests.

#include <string>
#include <vector>

namespace wmftest {

inline std::string Words(const std::vector<int>& words, std::string s = "") {
  for (const int w : words) s += {static_cast<char>(w & 0xFF), static_cast<char>((w >> 8) & 0xFF)};
  return s;
}
// One record: size in words (low and high word), function, parameters.
inline std::string Record(int function, const std::vector<int>& p) { return Words({static_cast<int>(3 + p.size()), 0, function}) + Words(p); }

// The metafile header (16 objects) and records, after the placeable header
// (with its checksum) for a box of 1440 x 720 units at 1440 an inch.
inline std::string Metafile(const std::string& records, bool placeable = true) {
  const int size = static_cast<int>((18 + records.size()) / 2);
  const std::string header = Words({1, 9, 0x300, size & 0xFFFF, size >> 16, 16, 64, 0, 0}) + records;
  return placeable ? Words({0xCDD7, 0x9AC6, 0, 0, 0, 1440, 720, 1440, 0, 0, 0x9AC6 ^ 0xCDD7 ^ 1440 ^ 720 ^ 1440}) + header : header;
}
inline std::string Org(int x, int y) { return Record(0x020B, {y, x}); }
inline std::string Ext(int x, int y) { return Record(0x020C, {y, x}); }
inline std::string Pen(int style, int width, int r, int g, int b) { return Record(0x02FA, {style, width, 0, r | g << 8, b}); }
inline std::string Brush(int style, int r, int g, int b) { return Record(0x02FC, {style, r | g << 8, b, 0}); }
inline std::string Select(int index) { return Record(0x012D, {index}); }
inline std::string Poly(std::vector<int> xy, int f = 0x0324) { return xy.insert(xy.begin(), static_cast<int>(xy.size() / 2)), Record(f, xy); }
inline const std::string kEnd = Record(0, {});

}  // namespace wmftest
