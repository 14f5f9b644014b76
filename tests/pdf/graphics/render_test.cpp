// What real readers make of the shapes: a document with every shape, line
// style, dash and opacity passes the strict readers and renders, at one pixel
// per point, with ink inside the shapes, none outside and a stroke where each
// line is.

#include <string>

#include <gtest/gtest.h>

#include "tests/pdf/graphics/graphics_probe.h"

namespace {

enum class Ink { Black, White, Blue, HalfRed };

bool Matches(int r, int g, int b, Ink ink) {
  switch (ink) {
    case Ink::Black: return r < 60 && g < 60 && b < 60;
    case Ink::White: return r > 200 && g > 200 && b > 200;
    case Ink::Blue: return r < 60 && g < 60 && b > 200;
    case Ink::HalfRed: return r > 230 && g > 100 && g < 155 && b > 100 && b < 155;
  }
  return false;
}

TEST(GraphicsRender, EveryShapeDrawsWhereItsOperatorsSay) {
  pdftest::TempDir dir;
  const std::string path = dir.file("shapes.pdf");
  pdf::PdfWriter pdf;
  pdf.BeginDoc(path);
  ASSERT_EQ(pdf.ErrNumber(), 0) << pdf.ErrDescription();

  // Page 1, in points; fill and stroke colours are black after BeginPage.
  pdf.BeginPage();
  pdf.DrawRect(50, 50, 100, 60, 5);
  pdf.DrawRect(200, 50, 100, 100, 5, 30, 1);  // only the top-left corner rounded
  pdf.DrawEllipse(100, 250, 50, 25, 5);
  pdf.DrawCircle(300, 250, 40, 5);
  pdf.DrawArc(100, 400, 50, 0, 90, 1, true, 1, 5);  // quarter pie, below right
  pdf.DrawPolygon(300, 400, 50, 4, 5);
  pdf.DrawPolyline({400, 50, 500, 50, 450, 150}, 7);
  pdf.MoveTo(400, 300);
  pdf.DrawCurve(1, 400, 250, 500, 250, 500, 300, 1);
  pdf.DrawLineTo(400, 300, 7);
  pdf.SetLineWidth(4);
  pdf.SetLineStyle(0);
  pdf.DrawLine(50, 600, 250, 600);
  pdf.MoveTo(300, 550);
  pdf.DrawLineTo(300, 650);
  pdf.DrawRect(400, 550, 100, 100);
  pdf.DrawArc(150, 800, 30, 180, 360);  // upper half of a circle, stroked
  pdf.SetDash("20;20");
  pdf.DrawLine(50, 700, 250, 700);
  pdf.SetDash();
  pdf.SetColorFill("#FF0000");
  pdf.SetAlpha(50);
  pdf.DrawRect(300, 700, 100, 50, 5);
  pdf.SetAlpha(100);

  // Page 2: a circle used as clip, then a page-sized blue fill; centimetres.
  pdf.BeginPage();
  pdf.DrawCircle(300, 400, 50, 128 + 5);
  pdf.SetColorFill("#0000FF");
  pdf.DrawRect(0, 0, 596, 842, 5);
  pdf.EndPage();
  pdf.BeginPage();
  pdf.SetScale(3);
  pdf.DrawRect(1, 1, 2, 2, 5);
  pdf.SetLineWidth(0.1f);
  pdf.DrawLine(1, 5, 10, 5);

  // Page 4, in points again: a turned space, a scaled one, and a table.
  pdf.BeginPage();
  pdf.SetScale(0);
  pdf.BeginSpace(300, 300, 1, 1, 45);
  pdf.DrawRect(-20, -20, 40, 40, 5);
  pdf.EndSpace();
  pdf.BeginSpace(400, 500, 2, 2);
  pdf.DrawRect(0, 0, 20, 20, 5);
  pdf.EndSpace();
  pdf.DrawRect(500, 500, 10, 10, 5);  // after the space: unscaled again
  pdf.SetLineWidth(2);
  pdf.SetColorFill("#0000FF");
  pdf.BeginTable(50, 500);
  pdf.BeginRow(50);
  pdf.BeginColumn(100);
  pdf.EndColumn();
  pdf.BeginColumn(100);
  pdf.EndColumn();
  pdf.EndRow();
  pdf.EndTable();
  pdf.EndDoc();

  pdftest::ExpectReadersAccept(path);

  struct Spot { int page, x, y; Ink ink; const char* what; };
  const Spot spots[] = {
      {1, 100, 80, Ink::Black, "rectangle inside"},           {1, 45, 80, Ink::White, "left of the rectangle"},
      {1, 203, 53, Ink::White, "cut-off rounded corner"},     {1, 297, 53, Ink::Black, "square top-right corner"},
      {1, 203, 147, Ink::Black, "square bottom-left corner"}, {1, 145, 250, Ink::Black, "ellipse near its right end"},
      {1, 140, 270, Ink::White, "ellipse's box, outside it"}, {1, 335, 250, Ink::Black, "circle near its edge"},
      {1, 330, 280, Ink::White, "circle's box corner"},       {1, 120, 420, Ink::Black, "pie quarter"},
      {1, 120, 380, Ink::White, "quarter above the pie"},     {1, 80, 420, Ink::White, "quarter left of the pie"},
      {1, 335, 395, Ink::Black, "inside the diamond"},        {1, 340, 440, Ink::White, "diamond's box corner"},
      {1, 490, 60, Ink::Black, "triangle near its right edge"}, {1, 410, 140, Ink::White, "beside the triangle's apex"},
      {1, 450, 280, Ink::Black, "under the curve"},           {1, 450, 255, Ink::White, "above the curve"},
      {1, 450, 305, Ink::White, "below the chord"},           {1, 150, 599, Ink::Black, "horizontal stroke"},
      {1, 150, 610, Ink::White, "beside the horizontal stroke"}, {1, 40, 600, Ink::White, "before the line starts"},
      {1, 299, 600, Ink::Black, "vertical stroke"},           {1, 310, 600, Ink::White, "beside the vertical stroke"},
      {1, 450, 550, Ink::Black, "stroked rectangle's top edge"}, {1, 499, 600, Ink::Black, "stroked rectangle's right edge"},
      {1, 450, 600, Ink::White, "inside the stroked rectangle"}, {1, 60, 700, Ink::Black, "first dash"},
      {1, 80, 700, Ink::White, "first gap"},                  {1, 100, 700, Ink::Black, "second dash"},
      {1, 350, 725, Ink::HalfRed, "red at half opacity"},     {1, 150, 770, Ink::Black, "top of the stroked arc"},
      {1, 121, 795, Ink::Black, "left end of the stroked arc"}, {1, 150, 800, Ink::White, "centre of the open arc"},
      {2, 330, 400, Ink::Blue, "inside the clipping circle"}, {2, 300, 460, Ink::White, "outside the clipping circle"},
      {2, 10, 10, Ink::White, "page corner, clipped away"},   {3, 30, 30, Ink::Black, "2 cm square at 1 cm, top-left"},
      {3, 83, 83, Ink::Black, "its bottom-right corner"},     {3, 90, 56, Ink::White, "right of the square"},
      {3, 56, 90, Ink::White, "below the square"},            {3, 150, 141, Ink::Black, "line at 5 cm, 0.1 cm wide"},
      {3, 150, 148, Ink::White, "below the line"},            {4, 300, 325, Ink::Black, "turned square's lower vertex"},
      {4, 318, 318, Ink::White, "unturned square's corner"},  {4, 435, 535, Ink::Black, "square doubled in a scaled space"},
      {4, 445, 520, Ink::White, "right of the doubled square"}, {4, 505, 505, Ink::Black, "square drawn after the space"},
      {4, 530, 530, Ink::White, "beyond it"},                 {4, 100, 525, Ink::Blue, "first cell's background"},
      {4, 150, 525, Ink::Black, "frame between the cells"},   {4, 100, 500, Ink::Black, "top frame"},
      {4, 100, 560, Ink::White, "below the table"},
  };
  gfxtest::Pixels pages[4];
  for (int n = 0; n < 4; ++n) {
    pages[n] = gfxtest::RenderPage(path, true, n + 1);
    ASSERT_TRUE(pages[n].width == 596 && pages[n].height == 842) << "page " << n + 1;
  }
  for (const Spot& s : spots) {
    const gfxtest::Pixels& p = pages[s.page - 1];
    EXPECT_TRUE(Matches(p.At(s.x, s.y, 0), p.At(s.x, s.y, 1), p.At(s.x, s.y, 2), s.ink))
        << s.what << " at (" << s.x << ", " << s.y << ") on page " << s.page;
  }
}

}  // namespace
