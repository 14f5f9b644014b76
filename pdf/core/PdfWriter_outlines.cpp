// The outline tree: a flat list of entries with nesting levels, turned into
// linked outline objects when the document ends.

#include <algorithm>

#include "pdf/PdfWriter.h"

namespace pdf {

std::string PdfWriter::AddBookmark(const std::string& Caption, std::int16_t Level,
                                   std::int32_t TypeOfBookmark, float X, float Y, float Width,
                                   float Height, float Zoom, const std::string& Color,
                                   std::int32_t FontStyle) {
  std::int32_t level = 0;
  if (Navigation.OutlineCount >= 1) {
    const std::int32_t last = Navigation.Outlines[static_cast<std::size_t>(Navigation.OutlineCount)].Level;
    if (Level == -1) level = last + 1;
    else if (Level == 0) level = last;
    else level = std::min<std::int32_t>(Level, last + 1);
    // Every entry after the title hangs below it: level 1 at least.
    if (level < 1) level = 1;
  }
  if (level >= 255) return std::string();

  // The entry's texts are made first: a value that cannot be written fails
  // the call before an entry exists.
  OutlineEntry e;
  e.Caption = Caption;
  e.Level = level;
  e.Page = Pages.PageCount >= 1 ? Pages.PageCount : 1;

  const float s = Pages.ScaleFactor;
  const float x = ToPoints(X);
  const float y = Pages.PageHeight - ToPoints(Y);
  switch (TypeOfBookmark) {
    case 0: e.Destination = "/FitB"; break;
    case 1: e.Destination = "/FitV " + FormatNumber(x); break;
    case 2: e.Destination = "/FitH " + FormatNumber(y); break;
    case 3:
      e.Destination = "/FitR " + FormatNumber(x) + " " + FormatNumber(y) + " " +
                      FormatNumber(x + Width * s) + " " + FormatNumber(y - Height * s);
      break;
    case 4:
      e.Destination = "/XYZ " + FormatNumber(x) + " " + FormatNumber(y) + " " + FormatNumber(Zoom / 100);
      break;
    default: break;
  }
  if (!Color.empty()) {
    std::string c = Color, pattern;
    ParseColor(c, pattern);
    // Only a real colour has operands; a pattern name gives none.
    if (!c.empty() && c[0] == '#') e.Color = ColorToRgb(c);
    RequireVersion(1);
  }
  if (FontStyle != 0) {
    e.Style = ((FontStyle & 2) ? 1 : 0) + ((FontStyle & 1) ? 2 : 0);
    RequireVersion(1);
  }
  const std::int32_t index = Navigation.OutlineCount + 1;
  GrowTable(Navigation.Outlines, index);
  Navigation.OutlineCount = index;
  Navigation.Outlines[static_cast<std::size_t>(index)] = std::move(e);
  return "@" + std::to_string(index);
}

std::int32_t PdfWriter::WriteOutlines() {
  const std::int32_t count = Navigation.OutlineCount;
  if (count < 2) return 0;
  auto& list = Navigation.Outlines;
  const std::int32_t root = Objects.LastObjectNumber + 1;
  for (std::int32_t i = 1; i <= count; ++i) {
    OutlineEntry& e = list[static_cast<std::size_t>(i)];
    e.Parent = e.ObjectNumber = e.First = e.Last = e.Next = e.Prev = 0;
  }
  std::array<std::int32_t, 257> lastAt{};
  list[1].Parent = root;
  list[1].ObjectNumber = root + 1;
  lastAt[0] = 1;
  std::int32_t titleChildren = 0;
  for (std::int32_t i = 2; i <= count; ++i) {
    OutlineEntry& e = list[static_cast<std::size_t>(i)];
    const std::int32_t L = std::clamp<std::int32_t>(e.Level, 1, 254);
    e.ObjectNumber = root + i;
    lastAt[static_cast<std::size_t>(L)] = i;
    lastAt[static_cast<std::size_t>(L) + 1] = 0;
    std::int32_t p = lastAt[static_cast<std::size_t>(L) - 1];
    if (p == 0) p = 1;
    OutlineEntry& parent = list[static_cast<std::size_t>(p)];
    e.Parent = parent.ObjectNumber;
    if (parent.First == 0) parent.First = e.ObjectNumber;
    parent.Last = e.ObjectNumber;
    if (L == 1) ++titleChildren;
    for (std::int32_t j = i + 1; j <= count; ++j) {
      const std::int32_t lj = list[static_cast<std::size_t>(j)].Level;
      if (lj == L) {
        e.Next = root + j;
        list[static_cast<std::size_t>(j)].Prev = e.ObjectNumber;
        break;
      }
      if (lj < L) break;
    }
  }

  const char CR = '\r';
  BeginIndirectObject(root);
  WriteLine("<< /Count 1 /First " + std::to_string(root + 1) + " 0 R /Last " + std::to_string(root + 1) +
            " 0 R >>");
  EndIndirectObject();
  for (std::int32_t i = 1; i <= count; ++i) {
    const OutlineEntry& e = list[static_cast<std::size_t>(i)];
    BeginIndirectObject(e.ObjectNumber);
    std::string line = "<< /Title " + FormatPdfText(e.Caption) + CR;
    line += "/Parent " + std::to_string(e.Parent) + " 0 R" + CR;
    if (e.First != 0) line += "/First " + std::to_string(e.First) + " 0 R" + CR;
    if (e.Last != 0) line += "/Last " + std::to_string(e.Last) + " 0 R" + CR;
    if (e.Prev != 0) line += "/Prev " + std::to_string(e.Prev) + " 0 R" + CR;
    if (e.Next != 0) line += "/Next " + std::to_string(e.Next) + " 0 R" + CR;
    if (i == 1 && titleChildren > 0) line += "/Count " + std::to_string(titleChildren) + CR;
    if (!e.Destination.empty()) {
      // Page 0 or a page beyond the document means its first or last page.
      std::int32_t page = e.Page;
      if (page < 1) page = 1;
      if (page > Pages.PageCount) page = Pages.PageCount;
      line += "/Dest [" + std::to_string(Pages.PageObjects.at(static_cast<std::size_t>(page))) + " 0 R " +
              e.Destination + "]" + CR;
    }
    if (!e.Color.empty()) line += "/C [" + e.Color + "]" + CR;
    if (e.Style != 0) line += "/F " + std::to_string(e.Style) + CR;
    line += ">>";
    WriteLine(line);
    EndIndirectObject();
  }
  return root;
}

}  // namespace pdf
