// Text boxes: a text of any length wrapped greedily into a rectangle, line by
// line through DrawTextLine; what does not fit is handed back so that a next
// box continues where this one stopped.

#include <string>
#include <vector>

#include "pdf/PdfWriter.h"

namespace pdf {

namespace {

struct BoxLine {
  std::string text;
  bool first = false;  // first line of a paragraph: drawn indented
  bool last = false;   // last line of a paragraph
};

}  // namespace

std::string PdfWriter::DrawTextBox(float X, float Y, float Width, float Height,
                                   const std::string& Text_, float Indentation,
                                   std::int32_t Align, std::int32_t Options) {
  // The baselines rest on the current font's descent.
  const FontRecord* font = CurrentFontRecord();
  if (font == nullptr) throw PdfError(9);
  const float scale = Pages.ScaleFactor;

  std::string text = Text_;
  bool continued = false;  // the first paragraph goes on from an earlier box
  if (!text.empty() && text[0] == '\0') {
    text.erase(0, 1);
    continued = true;
  }

  const float lh = TextHeight() * scale * Text.LineSpacing;
  const float blank_width = TextLength(" ");

  if (Align & AlignJustify) {
    while (text.find("  ") != std::string::npos) text = ReplaceText(text, "  ", " ");
  }
  // An empty paragraph holds one blank, so that it takes a line.
  while (text.find("\r\n\r\n") != std::string::npos) {
    text = ReplaceText(text, "\r\n\r\n", "\r\n \r\n");
  }
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text += " ";

  std::vector<std::string> paragraphs;
  SplitText(text, paragraphs, "\r\n");

  // The frame: painted at once, before the text, ending a path the caller
  // left open first (its painting operator would paint that path too). A
  // frame the options leave open (1 or 3, clipping or not) is the box's
  // path handed to the caller: it comes after the text, so that nothing of
  // the box's own lies inside it, and joins the caller's path when there
  // is no text to end that first, as a shape does.
  std::string frame;
  if (Options != 1) {
    frame = FormatUnits(X) + " " + FormatUnits(Y) + " " + FormatUnits(Width) + " " +
            FormatUnits(Height) + " re";
  }
  const bool frame_last = LeavesPathOpen(Options);
  if (!frame.empty() && !frame_last) {
    EndOpenPath();
    AppendContent(frame);
    PaintOperator(Options);
  }

  const bool no_wrap = (Align & (AlignShrink | AlignFit)) != 0;
  const float height_limit = Height * scale;
  std::vector<BoxLine> lines;
  std::vector<std::string> words;
  std::vector<float> widths;
  bool stopped = false;
  std::size_t stop_paragraph = 0;
  std::size_t next_word = 0;

  for (std::size_t p = 0; p < paragraphs.size() && !stopped; ++p) {
    SplitText(paragraphs[p], words, " ");
    widths.resize(words.size());
    for (std::size_t i = 0; i < words.size(); ++i) widths[i] = TextLength(words[i]);

    std::size_t i = 0;
    bool first_line = true;
    while (i < words.size()) {
      BoxLine line;
      line.text = words[i];
      float running = widths[i];
      if (i == 0) running += Indentation;
      std::int32_t joined = 0;
      ++i;
      while (i < words.size()) {
        const float needed =
            static_cast<float>(joined + 1) * blank_width + running + widths[i];
        if (needed > Width && !no_wrap) break;
        line.text += " ";
        line.text += words[i];
        running += widths[i];
        ++joined;
        ++i;
      }
      line.first = first_line && !(p == 0 && continued);
      line.last = i == words.size();
      first_line = false;
      lines.push_back(std::move(line));

      if (Height > 0) {
        const float next_bottom = lh * static_cast<float>(lines.size() + 1);
        if (next_bottom > height_limit) {
          stopped = true;
          stop_paragraph = p;
          next_word = i;
          break;
        }
      }
    }
  }

  std::string rest;
  if (stopped) {
    if (next_word < words.size()) {
      rest.assign(1, '\0');
      for (std::size_t i = next_word; i < words.size(); ++i) {
        if (i > next_word) rest += " ";
        rest += words[i];
      }
    }
    for (std::size_t p = stop_paragraph + 1; p < paragraphs.size(); ++p) {
      if (!rest.empty()) rest += "\r\n";
      rest += paragraphs[p];
    }
  }

  const auto n = static_cast<std::int32_t>(lines.size());
  float start;
  if (Align & AlignMiddle) {
    start = lh / 2 * static_cast<float>(2 - n) + (Y + Height / 2) * scale;
  } else if (Align & AlignBottom) {
    start = (Y + Height) * scale - lh * static_cast<float>(n - 1);
  } else {
    start = Y * scale + lh;
  }
  start += static_cast<float>(font->Descent) * Text.FontSize / 1000;

  for (std::int32_t i = 0; i < n; ++i) {
    const BoxLine& line = lines[static_cast<std::size_t>(i)];
    const float baseline = (start + static_cast<float>(i) * lh) / scale;
    const std::int32_t align = ((Align & AlignJustify) && line.last) ? AlignLeft : Align;
    DrawTextLine(X, baseline, Width, line.text, line.first ? Indentation : 0, align, false);
  }
  if (!frame.empty() && frame_last) {
    AppendContent(frame);
    PaintOperator(Options);
  }

  const float top = Pages.PageHeight - Y * scale;
  SetLastRect(X * scale, top, X * scale + Width * scale, top - static_cast<float>(n) * lh);
  SetXY(X, Y + static_cast<float>(n) * lh / scale);
  return rest;
}

}  // namespace pdf
