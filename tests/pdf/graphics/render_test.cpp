// What real readers make of the shapes: a document with every shape kind, a
// dash, an opacity, a clip and drawing spaces passes the strict readers and
// renders, at one pixel per point, with the ink each probe expects.

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
  pdf.DrawRect(400, 550, 100, 100);
  pdf.SetDash("20;20");
  pdf.DrawLine(50, 700, 250, 700);
  pdf.SetDash();
  pdf.SetColorFill("#FF0000");
  pdf.SetAlpha(50);
  pdf.DrawRect(300, 700, 100, 50, 5);
  pdf.SetAlpha(100);

  // Page 2: a circle used as clip, then a page-sized blue fill.
  pdf.BeginPage();
  pdf.DrawCircle(300, 400, 50, 128 + 5);
  pdf.SetColorFill("#0000FF");
  pdf.DrawRect(0, 0, 596, 842, 5);

  // Page 3: a turned space and a scaled one.
  pdf.BeginPage();
  pdf.BeginSpace(300, 300, 1, 1, 45);
  pdf.DrawRect(-20, -20, 40, 40, 5);
  pdf.EndSpace();
  pdf.BeginSpace(400, 500, 2, 2);
  pdf.DrawRect(0, 0, 20, 20, 5);
  pdf.EndSpace();
  pdf.BeginSpace(100, 600, 1, 1, 90);  // a bar turned a quarter counter-clockwise: it stands up
  pdf.DrawRect(0, 0, 60, 10, 5);
  pdf.EndSpace();
  pdf.EndDoc();

  pdftest::ExpectReadersAccept(path);

  struct Spot { int page, x, y; Ink ink; const char* what; };
  const Spot spots[] = {
      {1, 100, 80, Ink::Black, "rectangle inside"},            {1, 203, 53, Ink::White, "cut-off rounded corner"},
      {1, 145, 250, Ink::Black, "ellipse near its right end"}, {1, 335, 250, Ink::Black, "circle near its edge"},
      {1, 120, 420, Ink::Black, "pie quarter"},                {1, 335, 395, Ink::Black, "inside the diamond"},
      {1, 490, 60, Ink::Black, "triangle near its right edge"}, {1, 450, 280, Ink::Black, "under the curve"},
      {1, 150, 599, Ink::Black, "horizontal stroke"},          {1, 450, 600, Ink::White, "inside the stroked rectangle"},
      {1, 499, 600, Ink::Black, "stroked rectangle's right edge"}, {1, 80, 700, Ink::White, "first gap of the dash"},
      {1, 350, 725, Ink::HalfRed, "red at half opacity"},      {2, 330, 400, Ink::Blue, "inside the clipping circle"},
      {2, 10, 10, Ink::White, "page corner, clipped away"},    {3, 300, 325, Ink::Black, "turned square's lower vertex"},
      {3, 435, 535, Ink::Black, "square doubled in a scaled space"}, {3, 105, 560, Ink::Black, "bar turned upward"},
  };
  gfxtest::Pixels pages[3];
  for (int n = 0; n < 3; ++n) {
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
