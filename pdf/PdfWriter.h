#pragma once
// PdfWriter: the program's general-purpose PDF writer. One object writes one
// document in a single forward pass: pages, fonts, images and form objects as
// soon as each is complete; resources, page tree, catalog, information,
// cross-reference table and trailer when the document ends.
//
// Every text is a std::string of Windows-1252 bytes, one byte per character.
// Lengths given by a caller are in the caller's unit (SetScale); the origin is
// the top-left corner of the margin box and y grows downward.
//
// Failures: BeginDoc, AddFont, GetInfo and the image and drawing loaders
// record theirs (ErrNumber, ErrSource, ErrDescription) and carry on; every
// other member lets a failure reach its caller as a pdf::PdfError.
//
// The members are spread over the folders pdf/core, pdf/text, pdf/graphics
// and pdf/interactive; this is their one header.

#include <array>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "pdf/core/bytes.h"

namespace pdf {

// A failure that reaches the caller of a PdfWriter member: a number in the
// classic runtime numbering (5 invalid argument, 6 overflow, 9 subscript out
// of range, 11 division by zero, 52 bad file name or number, 53 file not
// found, 57 device input/output error, ...) and its description.
class PdfError : public std::runtime_error {
 public:
  PdfError(std::int32_t number, const std::string& description)
      : std::runtime_error(description), number_(number), description_(description) {}
  // The failure of the given number with its standard description.
  explicit PdfError(std::int32_t number);

  std::int32_t Number() const noexcept { return number_; }
  const std::string& Description() const noexcept { return description_; }

  // The standard description of a failure number ("Bad file name or number"
  // for 52, ...); a generic text for numbers without one.
  static std::string DescriptionOf(std::int32_t number);

 private:
  std::int32_t number_;
  std::string description_;
};

// ---------------------------------------------------------------------------
// Record types of the writer's tables. Every table is indexed from 1; entry 0
// exists and is never used.

// A growable text store for page, form-object and pattern content. Data holds
// Capacity bytes of which the first Position - 1 are content.
struct StringBuffer {
  std::string Data;
  std::int32_t Capacity = 0;
  std::int32_t Position = 1;
  // "q" written by spaces and tables into this content and not yet closed by
  // a "Q": an unmatched end writes nothing, the content's end closes the rest.
  std::int32_t OpenSaves = 0;
  // Layers ("BDC") opened in this content and not yet closed by an "EMC":
  // EndLayer closes only what this content opened, its end closes the rest.
  std::int32_t OpenLayers = 0;
  // A path is under construction (it has a current point) and not painted.
  bool PathOpen = false;
  // The caller asked for that path as a clipping path (a paint option with
  // 128 that leaves the path open): its "W" waits for the operator that
  // ends the path, before which alone it may stand.
  bool ClipPending = false;
  // The matrix that the writer's own transforms have set in this content
  // (a b c d e f as "cm" takes them, numbers as written), and the matrices
  // of the open "q", innermost last: where a shape drawn now stands.
  std::array<double, 6> Transform{1, 0, 0, 1, 0, 0};
  std::vector<std::array<double, 6>> SavedTransforms;
};

// PageRuleFlags of a recorded page object.
enum PageRuleFlags : std::int32_t {
  PageRuleFirst = 1,
  PageRuleEven = 2,
  PageRuleOdd = 4,
  PageRuleEvery = 7,
  PageRuleNotFirst = 8,
  PageRuleOver = 16,
};

// PaintFlags of the shape members.
enum PaintFlags : std::int32_t {
  PaintNoStroke = 1,
  PaintClose = 2,
  PaintFill = 4,
  PaintClip = 128,
};

// CompressionMode bits.
enum CompressionModeFlags : std::int32_t {
  CompressRunLength = 1,
  CompressFlate = 2,
  CompressLzw = 4,
  CompressAscii85 = 8,
  CompressAsciiHex = 16,
};

// FontStyleFlags.
enum FontStyleFlags : std::int32_t {
  FontBold = 1,
  FontItalic = 2,
  FontUnderline = 4,
  FontOverline = 8,
  FontStrikeOut = 16,
};

struct RecordedObject {
  std::string Name;
  std::string Annots;
  std::int32_t PageRule = 0;
  // Its content names a pattern (itself or through an object it plays): a
  // tiling pattern that plays it needs the patterns in its resources.
  bool NamesPattern = false;
  // Its content sets a colour or draws a picture or an imported page
  // (itself or through an object it plays): the cell of an uncoloured
  // tiling pattern, which carries no colour, may not play it.
  bool CarriesColour = false;
};

struct OutlineEntry {
  std::string Caption;
  std::int32_t Level = 0;
  std::int32_t Page = 0;
  std::string Color;
  std::int32_t Style = 0;
  std::string Destination;
  std::int32_t Parent = 0;
  std::int32_t ObjectNumber = 0;
  std::int32_t First = 0;
  std::int32_t Last = 0;
  std::int32_t Next = 0;
  std::int32_t Prev = 0;
};

struct FontRecord {
  std::string Key;
  bool FontType = false;  // true: loaded from a TrueType file
  std::string BaseFont;
  std::array<std::int16_t, 256> Widths{};
  std::int16_t LineHeight = 0;
  std::int32_t Descent = 0;
  std::int32_t MacEncoding = 0;
  std::string ResourceName;  // as written into the font resources (set by WriteFont)
};

struct RasterImage;  // pdf/graphics/raster_image.h

struct ImageRecord {
  std::string FileName;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::int16_t FrameNumber = 0;
};

struct LayerRecord {
  std::string Name;
  bool StartState = false;
  bool ShowInList = false;
};

// The font selection as a whole: what SetFont was given, and the record it
// chose (which holds the encoding) with its resource name; no font at all
// when FontIndex is 0.
struct FontSelection {
  std::string FontName;
  std::int32_t FontStyle = 0;
  float FontSize = 0;
  std::string FontResource;
  std::int32_t FontIndex = 0;
};

struct SavedStyle {
  float ScaleFactor = 0;
  float CurrentX = 0;
  float CurrentY = 0;
  std::string FillColor;
  std::string FillPatternColor;
  std::string LineColor;
  std::string LinePatternColor;
  std::string TextColor;
  std::string TextPatternColor;
  FontSelection Font;
  float LineWidth = 0;
};

// The font selection at the beginning of a table cell, and the depth of the
// style stack then: the cell's end restores it.
struct CellFont {
  FontSelection Font;
  std::int32_t StyleDepth = 0;
};

// One form field of the open page (filled by AddField and OnFieldEvent).
struct FieldRecord {
  std::string Name;
  std::string DictionaryStart;  // "<< /Type /Annot /Subtype /Widget ..."
  std::string ExtraEntries;
  std::string Actions;          // inside " /AA << " and " >> "
  bool CalculationFlag = false;
  std::string Caption;
  std::string DefaultAppearance;
  std::string AppearanceCharacteristics;
  std::string Tooltip;
  std::string Value;            // choice fields: options joined by "|"
  std::int16_t SelectedOption = 0;
  std::int32_t FieldType = 0;   // 0 text, 1/4/5 buttons, 2/3 choice
};

struct DestinationRecord {
  std::int32_t Page = 0;
  std::string View;
  std::string Name;  // with its leading "/"
};

// One parsed source file of GetInfo and ImportPage.
struct ImportSource {
  std::int32_t VersionIncrement = 0;  // minor header version minus 3, at least 0
  std::string FileName;               // as the caller gave it; also the key it is found by
  std::int32_t PageCount = 0;
  std::vector<std::int32_t> PageObjects;      // object number of page k at k; negative once imported
  std::vector<std::int32_t> ObjectOffsets;    // byte offset by object number; 0 = missing
  std::vector<std::int32_t> ImportedNumbers;  // number of each copied object in the document; 0 = none
  std::string Title;
  std::string Author;
  std::string Creator;
  std::string Producer;
  std::string Subject;
  bool Encrypted = false;
  std::vector<std::array<float, 4>> PageBoxes;  // media box of each imported page (x1 y1 x2 y2)
};

// ---------------------------------------------------------------------------

class PdfWriter {
 public:
  PdfWriter();
  ~PdfWriter();
  PdfWriter(const PdfWriter&) = delete;
  PdfWriter& operator=(const PdfWriter&) = delete;

  // ---- lifecycle and errors ----
  // Closes an open file as it stands and returns the writer to a new
  // writer's state: no document, no font selected (text members fail with
  // 9 until SetFont selects one), A4 in points, default colours.
  void Abort();
  std::string BeginDoc(const std::string& strFileName = "");
  void OpenDoc();
  std::int32_t ErrNumber() const;
  std::string ErrSource() const;
  std::string ErrDescription() const;
  std::int32_t FileSize() const;
  std::string Version() const;
  void SetMemoryUsage(std::int16_t Value);

  // ---- pages, geometry, current point ----
  void SetScale(std::int32_t ScaleMode, float UserFactor = 1);
  void SetPaperSize(std::int32_t PaperSize, float UserWidth = 0, float UserHeight = 0);
  void SetMargins(float Left = 0, float Right = 0, float Top = 0, float Bottom = 0,
                  bool ClipPage = true);
  void SetPageView(std::int32_t ViewMode);
  std::int32_t GetPage() const;
  float GetPageWidth(bool KeepMargins = false) const;
  float GetPageHeight(bool KeepMargins = false) const;
  float GetX() const;
  float GetY() const;
  void SetXY(float X, float Y);
  std::int32_t BeginPage();
  void EndPage();

  // ---- document close ----
  void EndDoc();

  // ---- colours ----
  void SetColorFill(const std::string& Color);
  void SetColorLine(const std::string& Color);
  void SetColorText(const std::string& Color);

  // ---- recorded page objects ----
  void BeginObject(const std::string& Alias, std::int32_t Options = 0);
  void EndObject();
  // Draws a recorded object. In the cell of an uncoloured tiling pattern
  // (any Style but 0), an object whose content sets a colour or draws a
  // picture or an imported page fails with PdfError 5 and draws nothing;
  // an object of shapes alone plays there.
  void PlayObject(const std::string& Name);

  // ---- document settings ----
  void SetDocProperty(const std::string& DocTitle = "", const std::string& DocSubject = "",
                      const std::string& DocAuthor = "", const std::string& DocCreator = "",
                      const std::string& DocProducer = "", const std::string& DocKeywords = "");
  void SetLabel(std::int32_t PageLabel, const std::string& LabelPrefix = "",
                std::int32_t FirstValue = -1);
  void SetPageTransition(std::int32_t Transition, float ShowTime = 1, float TransTime = 1);
  void SetViewerPreferences(std::int32_t Mode);

  // ---- outlines ----
  std::string AddBookmark(const std::string& Caption, std::int16_t Level = 0,
                          std::int32_t TypeOfBookmark = 0, float X = 0, float Y = 0,
                          float Width = 0, float Height = 0, float Zoom = 0,
                          const std::string& Color = "", std::int32_t FontStyle = 0);

  // ---- compression ----
  void SetCompression(std::int32_t CompressionMode, std::uint8_t Quality = 3);

  // ==== text and fonts members (pdf/text) ====
  // AlignFlags: the Align argument of DrawText, DrawTextLine and DrawTextBox.
  enum AlignFlags : std::int32_t {
    AlignLeft = 1,
    AlignRight = 2,
    AlignCenter = 4,
    AlignTop = 8,
    AlignBottom = 16,
    AlignMiddle = 32,
    AlignJustify = 64,
    AlignShrink = 128,
    AlignFit = 256,
  };

  // fonts (pdf/text/PdfWriter_fonts.cpp)
  // Selects the current font: a standard family (Times, Courier, Helvetica or
  // Arial, Symbol, ZapfDingbats) or an AddFont alias. Size 0 keeps the current
  // size; Style takes FontStyleFlags; Encoding 1 is MacRoman, any other WinAnsi.
  // The first selection of a font writes its font object.
  void SetFont(const std::string& FontFamily, float Size = 0, std::int32_t Style = 0,
               std::int32_t Encoding = 0);
  void SetFontSize(float Points);

  // text state and text lines (pdf/text/PdfWriter_textlines.cpp)
  void SetCharSpacing(float w);
  void SetWordSpacing(float w);
  void SetTextHorizontalScaling(float Percent);
  void SetTextMode(std::int32_t Mode);
  void SetTextLineSpacing(float Value);
  // Line height of the current font in user units (0 without a font).
  float TextHeight() const;
  // Width of Phrase in the current font, size and text state, in user units.
  float TextLength(const std::string& Phrase) const;
  void DrawText(float X, float Y, const std::string& Text, std::int32_t Align = 1);
  void WriteText(const std::string& Text, std::int32_t TextStyle = 0, float PercenteSize = 66);
  void WriteTextLn(const std::string& Text);

  // text boxes (pdf/text/PdfWriter_textboxes.cpp)
  // Wraps Text into the box and draws the lines that fit; returns the rest.
  std::string DrawTextBox(float X, float Y, float Width, float Height, const std::string& Text,
                          float Indentation = 0, std::int32_t Align = 9,
                          std::int32_t Options = 1);

 protected:
  // Whether a font record before record `Below` is written under the
  // resource name `Name`.
  bool FontResourceTaken(const std::string& Name, std::int32_t Below) const;
  // Writes the font dictionary of Fonts[FontCount] (and, for a TrueType
  // record, its descriptor and font file); returns its object number.
  std::int32_t WriteFont(const std::string& Name, Bytes& FontFile, std::int32_t FileLength,
                         const std::string& Descriptor);
  // standard font metrics (pdf/text/PdfWriter_metrics.cpp): fill Fonts[FontCount]
  void LoadArialMetrics(std::int32_t& Style);
  void LoadCourierNewMetrics(std::int32_t& Style);
  void LoadTimesNewRomanMetrics(std::int32_t& Style);
  void LoadSymbolMetrics();
  void LoadZapfDingbatsMetrics();
  // One line of text with its baseline at (X, Y), placed by Align within Width.
  void DrawTextLine(float X, float Y, float Width, const std::string& Text, float Indent,
                    std::int32_t Align, bool NewLine);
  // The record of the current font; null when none is selected (on a new
  // writer and after Abort, until SetFont selects one).
  const FontRecord* CurrentFontRecord() const;
  // ==== end text and fonts members ====

 public:
  // ==== graphics members (pdf/graphics) ====
  // Paths and shapes. Coordinates in user units; Options are PaintFlags.
  void MoveTo(float X, float Y);
  void DrawLine(float X1, float Y1, float X2, float Y2, std::int32_t Options = 0);
  void DrawLineTo(float X, float Y, std::int32_t Options = 0);
  // CurveType 1: "c" (two control points, end X3 Y3); 2: "v"; 3: "y".
  void DrawCurve(std::int16_t CurveType, float X1, float Y1, float X2, float Y2, float X3 = 0,
                 float Y3 = 0, std::int32_t Options = 0);
  // Ray > 0 rounds the corners selected by RoundedCorner (1 top-left,
  // 2 top-right, 4 bottom-right, 8 bottom-left).
  void DrawRect(float X, float Y, float XDim, float YDim, std::int32_t Options = 0,
                float Ray = 0, std::int32_t RoundedCorner = 15);
  void DrawEllipse(float X, float Y, float XRay, float YRay, std::int32_t Options = 0);
  void DrawCircle(float X, float Y, float Ray, std::int32_t Options = 0);
  // One straight segment per Quality degrees; a step of 0 takes the default 1.
  void DrawArc(float X, float Y, float Ray, float StartAngle = 0, float EndAngle = 360,
               float Ratio = 1, bool Pie = false, std::int16_t Quality = 1,
               std::int32_t Options = 0);
  // Sides 0 fails with PdfError 11 (division by zero).
  void DrawPolygon(float X, float Y, float Ray, std::int16_t Sides, std::int32_t Options = 0);
  // Points: x and y values alternately. An empty or odd list fails with
  // PdfError 9, more than 32768 values with PdfError 6.
  void DrawPolyline(const std::vector<double>& Points, std::int32_t Options = 0);

  // Line width (user units), LineStyleFlags with miter limit, dash pattern
  // (SOLID, DASH, DOT, DASHDOT, DASHDOTDOT or lengths separated by ";") and
  // opacity in percent.
  void SetLineWidth(float Width);
  void SetLineStyle(std::int32_t Style, float MiterLimit = 0);
  void SetDash(const std::string& Pattern = "", float Phase = 0);
  void SetAlpha(std::int16_t Value);

  // Transforms: each appends one matrix to the current one.
  void AxisRotation(float Angle);
  void AxisScaling(float ScaleX, float ScaleY);
  void AxisSkewing(float AngleX, float AngleY);
  void AxisTranslation(float TranslateX, float TranslateY);
  // A space saves the graphics state ("q") and opens a translated, scaled and
  // rotated system whose origin becomes the current point; EndSpace: "Q".
  void BeginSpace(float NewX = 0, float NewY = 0, float ScaleX = 1, float ScaleY = 1,
                  float Angle = 0);
  void EndSpace();
  // Tables: rows holding column cells, or columns holding row cells; each
  // cell is a space whose origin is its top-left corner.
  void BeginTable(float X, float Y);
  void BeginRow(float Height);
  void BeginColumn(float Width);
  void EndColumn();
  void EndRow();
  void EndTable();

 protected:
  // "x y" of a point given in user units.
  std::string FormatPoint(float X, float Y) const;
  // "x y m " at the current point when the content has no path open (a line
  // or curve needs a point to start from), else nothing.
  std::string PathStart();
  // Ends a path the caller left open without painting it ("n", "W n" when
  // it was asked for as a clipping path). A path may hold only its own
  // construction and the state setters (colours, line width, dash, line
  // style, opacity, text state): every member that writes anything else
  // calls this first, before anything of its own. Text, pictures, played
  // objects and imported pages, saved states, layers and transforms, the
  // end of a section or of a content; and the members that paint shapes
  // of their own (bars, table cells, rules under text, text box frames,
  // EPS and WMF drawings), whose painting operator would paint the
  // caller's path too. Nothing when no path is open.
  void EndOpenPath();
  // Whether a content line ends with an operator that paints its path (a
  // stroke or a fill; "n" ends a path unpainted): a drawing with no such
  // line paints nothing.
  static bool PaintsPath(std::string_view Line);
  // The number text of a scale factor of a matrix; one written as 0 fails
  // with PdfError 5 (the matrix would be singular).
  static std::string ScaleText(float Scale);
  // One table cell at (TableX, TableY): its space, background and frame.
  void BeginCell(float Width, float Height);
  // The end of the innermost cell: its space, and the font selection it
  // began with.
  void EndCell();
  // The style stack: colours, line width, font, scale and current point.
  void PushStyle();
  void PopStyle();
  // The font selection, saved and put back as it was: nothing is written
  // (every text line names its font).
  FontSelection SelectedFont() const;
  void RestoreFont(const FontSelection& Font);

 public:
  // ==== end graphics members ====

 public:
  // ==== TrueType font members (pdf/text) ====
  // TrueType fonts (pdf/text/PdfWriter_truetype.cpp)
  // Loads a TrueType font file (a Windows-1252 path) and writes its font
  // objects, with the whole file embedded unless Embedded is false; returns
  // the alias to select it with SetFont: FontAlias, or the font's full name
  // (blanks dropped) when FontAlias is empty. A missing, unreadable or
  // damaged file, a PostScript-flavoured font or a collection is recorded
  // (ErrNumber 53 for a missing file), adds no font and returns "".
  std::string AddFont(const std::string& TTFFile, const std::string& FontAlias = "",
                      bool Embedded = true, std::int32_t Encoding = 0);

  // ==== end TrueType font members ====

 public:
  // ==== gradient, tiling pattern and layer members (pdf/graphics) ====
  // Patterns are defined under an alias (blanks trimmed, upper-cased) and used
  // by naming it in a colour text ("SKY", or "HATCH;red" for an uncoloured
  // tiling pattern painted red; an uncoloured pattern named without a
  // colour, "HATCH", is painted black). A name is usable once its pattern
  // is complete: naming a pattern not yet defined, the tile being recorded
  // among them (a pattern cannot paint itself), keeps the current colour.
  // Tiles may use every pattern defined before them, with the fonts,
  // pictures, recorded objects and layers of the document. Coordinates in
  // user units.
  // Style 1: radial (circles of radius RStart and REnd around the two
  // points); any other value: axial, from the start point to the end point.
  // Gradient coordinates are measured from the page's top-left corner.
  void AddGradient(const std::string& Alias, std::int32_t Style, const std::string& StartColor,
                   const std::string& EndColor, float XStart, float YStart, float XEnd,
                   float YEnd, float RStart = 0, float REnd = 0, bool ExtendBefore = false,
                   bool ExtendAfter = false);
  // Records the drawing members' content into one tile of XStep by YStep;
  // Style 0: coloured; any other: uncoloured, its colour coming with the
  // colour text that uses the pattern. An uncoloured tile's cell carries no
  // colour and no picture: while it is recorded the colour setters and the
  // EPS and WMF drawings write no colour (their shapes take the pattern's),
  // and a picture, an imported page, or a recorded object that sets a
  // colour or draws one of those, is refused (DrawImage records error 5,
  // ImportPage and PlayObject fail with PdfError 5) and draws nothing.
  void BeginTiling(const std::string& Alias, float XMin, float YMin, float XMax, float YMax,
                   float XStep, float YStep, std::int32_t Style = 0);
  void EndTiling();
  // Content between BeginLayer and EndLayer belongs to the layer (looked up
  // without regard to case); the layer's flags are those of its first use.
  void BeginLayer(const std::string& Layer, bool StartState = true, bool ShowInList = true);
  void EndLayer();

 protected:
  // Appends "/NAME n 0 R " and a CR to the pattern resources; false when a
  // pattern of that name was there already (the first keeps the name).
  bool AddPatternResource(const std::string& Name, std::int32_t ObjectNumber);
  // Whether the defined pattern of this name is an uncoloured tiling
  // pattern, which needs a colour wherever it is selected.
  bool PatternUncolored(const std::string& Name) const;
  // Notes that the active content has just named a pattern, so that the
  // tiles' resources hold the patterns when a tile (or an object a tile
  // plays) uses one.
  void PatternNamed();
  // Whether an object is being recorded under an alias already recorded:
  // its drawing is dropped at EndObject, and so is whatever else it makes
  // (notes, links and fields), which no other object or page may get.
  bool RecordingDropped() const;
  // Whether content goes to the cell of an uncoloured tiling pattern (no
  // object being recorded takes it first), where no colour and no picture
  // may stand.
  bool UncolouredCell() const;
  // Notes that the active content has just set a colour or drawn a
  // picture, an imported page or an object that does: an object being
  // recorded then carries colour (RecordedObject::CarriesColour).
  void ColourCarried();

 public:

  // ==== end gradient, tiling pattern and layer members ====

 public:
  // ==== image members (pdf/graphics) ====
  // Places a picture with its top-left corner at (DestX, DestY). BMP, GIF,
  // JPEG (".JPG") and TGA files become one image object per file and frame,
  // drawn as often as asked; ".EPS", ".AI" and ".WMF" drawings are converted
  // into content on every call. A size of 0 follows the other's proportions;
  // both 0 draw one pixel per point. ColorMask (BMP only) makes that colour
  // transparent. A file that cannot be read records its failure and draws
  // nothing, and so does a BMP, GIF, JPEG or TGA picture in the cell of an
  // uncoloured tiling pattern (error 5), which carries no colour of its own.
  void DrawImage(const std::string& Filename, float DestX, float DestY, float ImgWidth = 0,
                 float ImgHeight = 0, std::int16_t FrameNumber = 1, const std::string& ColorMask = "");

 protected:
  // Writes one image object (and, for an indexed image, its lookup table as
  // the next object); returns its number. Kind: "BMP", "GIF", "TGA" or "JPG".
  std::int32_t WriteImage(const std::string& Kind, Bytes& Data, const Bytes& Palette,
                          std::int32_t Width, std::int32_t Height, std::uint8_t BitsPerPixel,
                          const std::string& Name, const std::string& ColorSpace,
                          const std::string& Filter, const std::string& Mask,
                          const std::string& Decode = "");
  // The loaders: each reads Path into the image Record (the last of the
  // table), writes the image object and its resource entry; false, with the
  // failure recorded, when the file cannot be used.
  bool LoadBmp(ImageRecord& Record, const std::string& Path, const std::string& ColorMask);
  bool LoadGif(ImageRecord& Record, const std::string& Path, std::int16_t FrameNumber);
  bool LoadJpeg(ImageRecord& Record, const std::string& Path);
  bool LoadTga(ImageRecord& Record, const std::string& Path);
  // Reads a file the caller named; false, with the failure recorded under
  // "DrawImage" and Detail, when it is missing or unreadable.
  bool ReadCallerFile(const std::string& Path, const std::string& Detail, Bytes& File);
  // Writes a loaded image for Record and adds its resource entry; false,
  // with the reader's reason recorded, when the reader refused the file.
  bool StoreImage(ImageRecord& Record, const std::string& Kind, RasterImage& Image,
                  const std::string& Mask, const std::string& Filter);
  // "v v ... " as a /Mask array's inside (each value followed by a blank).
  static std::string MaskText(const std::vector<int>& Key);

 public:
  // ==== end image members ====

 public:
  // ==== EPS, AI and WMF drawing members (pdf/graphics) ====
 protected:
  // Converts an EPS or AI drawing's path and colour lines into content,
  // its bounding box's top-left corner at (DestX, DestY).
  void ConvertEps(const std::string& FileName, float DestX, float DestY, float ImgWidth,
                  float ImgHeight);
  // Converts a WMF drawing's polylines and polygons into content.
  void ConvertWmf(const std::string& Filename, float DestX, float DestY, float ImgWidth,
                  float ImgHeight);
  // One colour byte as a colour operand: Value / 255 to three decimals.
  static std::string ColorComponentText(std::uint8_t Value);

 public:
  // ==== end EPS, AI and WMF drawing members ====

 public:
  // ==== barcode members (pdf/graphics) ====
  // BarCodeType 0 EAN-13, 1 Code 39, 2 Interleaved 2 of 5, 3 POSTNET,
  // 4 Code 128, 5 EAN-8. (X, Y): top-left corner of the left quiet zone;
  // ZoomFactor scales every length (0.8 to 2); Height: bars and text in user
  // units, 0 for the symbology's default; AddCheck: the optional check
  // character of Code 39 and Interleaved 2 of 5. Bars are filled in the
  // current fill colour; the text, when shown, leaves font and colours as
  // they were. Returns the width with both quiet zones, 0 when nothing is
  // drawn (unknown type, data the symbology cannot hold). A failure
  // part-way (a text placed beyond the numbers' range) takes the whole
  // barcode back, and leaves the style as it was.
  float DrawBarCode(std::int32_t BarCodeType, const std::string& Code, float X, float Y,
                    bool ShowCode = true, float ZoomFactor = 1, float Height = 0,
                    bool AddCheck = false);

 protected:
  // One drawer per symbology; each returns the width in user units.
  float DrawEan13(const std::string& Code, float X, float Y, bool ShowCode, float ZoomFactor,
                  float Height);
  float DrawEan8(const std::string& Code, float X, float Y, bool ShowCode, float ZoomFactor,
                 float Height);
  float DrawCode39(const std::string& Code, float X, float Y, bool ShowCode, float ZoomFactor,
                   float Height, bool AddCheck);
  float DrawInterleaved2of5(const std::string& Code, float X, float Y, bool ShowCode,
                            float ZoomFactor, float Height, bool AddCheck);
  float DrawPostnet(const std::string& Code, float X, float Y, bool ShowCode, float ZoomFactor);
  float DrawCode128(const std::string& Code, float X, float Y, bool ShowCode, float ZoomFactor,
                    float Height);
  // EAN-13 and EAN-8 share their drawing: the digits shown (13 or 8) and
  // the modules between the quiet zones, guards and text.
  float DrawEan(const std::string& Digits, const std::string& Modules, float X, float Y,
                bool ShowCode, float ZoomFactor, float Height);
  // Code 39 and Interleaved 2 of 5: elements 'n' narrow or 'w' wide (three
  // narrow), bars in the even places drawn BarFraction of their width, quiet
  // zones in narrow elements, Text centred under the bars.
  float DrawElements(const std::string& Elements, float BarFraction, float QuietLeft,
                     float QuietRight, const std::string& Text, float X, float Y, bool ShowCode,
                     float ZoomFactor, float Height);
  // One bar: a filled rectangle, top-left corner (X, Y), in user units.
  void DrawBar(float X, float Y, float Width, float Height);
  // Selects the font of the human-readable text at the zoom.
  void SetBarcodeFont(float Zoom);

 public:

  // ==== end barcode members ====

 public:
  // ==== annotation, link, form field and action members (pdf/interactive) ====
  // Positions and sizes are in user units measured from the top-left corner
  // of the page itself (the margins play no part); the PDF gets them in the
  // page's default space, points with y upward.

  // annotations (pdf/interactive/PdfWriter_annotations.cpp)
  // A free-text box shown in a frame: TextAlign 2 right, 4 centred; Border 0
  // solid, 1 dashed (DashOn, DashOff points), 2 beveled, 3 inset, 4
  // underline; Flag is the annotation flags. The text takes the current font
  // size and line colour, the frame the current line width, the background
  // the current fill colour.
  void AddNoteBox(const std::string& Text, float X, float Y, float Width, float Height,
                  std::int32_t TextAlign = 1, std::int32_t Border = 0, float DashOn = 1,
                  float DashOff = 1, std::int32_t Flag = 0);
  // A note icon at (X, Y) opening a pop-up with Text. Icon 0 Note, 1 Comment,
  // 2 Key, 3 Help, 4 Paragraph, 5 NewParagraph, 6 Insert; other values leave
  // the viewer's default.
  void AddNoteIcon(const std::string& Text, std::int32_t Icon, float X, float Y,
                   bool Opened = true, std::int32_t Flag = 0);

  // links and named destinations (pdf/interactive/PdfWriter_links.cpp)
  // Names a view of the current page for "ref:" links. TypeOfBookmark 0 FitB,
  // 1 FitV X, 2 FitH Y, 3 FitR X Y Width Height, 4 XYZ X Y Zoom (percent); a
  // zero X or Y takes the current point.
  void DefineRef(const std::string& RefName, std::int32_t TypeOfBookmark = 0, float X = 0,
                 float Y = 0, float Width = 0, float Height = 0, float Zoom = 0);
  // Makes the rectangle of the last drawn element a link to Destination:
  // "http:", "https:", "mailto:" (web or mail address), "file:" (another PDF
  // file), "script:" (JavaScript), "ref:" (a DefineRef name), "layer:"
  // (ON(a,b) OFF(c) TOGGLE(d) switch layers), "page:" (n, +n, -n, #FIRST,
  // #PREV, #NEXT, #LAST; the view by TypeOfLink as in DefineRef) or
  // "bookmark:" followed by what AddBookmark returned. Anything else, a
  // bookmark that does not exist or a layer group without ")" writes nothing.
  // OnMouseDown 0 no highlight, 1 invert, 2 outline, 3 push.
  void LinkTo(const std::string& Destination, std::int16_t BorderWidth = 0,
              std::int32_t OnMouseDown = 0, std::int32_t TypeOfLink = 0, float X = 0, float Y = 0,
              float Width = 0, float Height = 0, float Zoom = 0);

  // form fields and field actions (pdf/interactive/PdfWriter_fields.cpp)
  // The Param argument of AddField: a number or a text, read as the field
  // type needs it (text field: maximum length; list and combo box: the
  // selected option from 1; push button: the script run when pressed).
  class FieldParam {
   public:
    template <typename T, std::enable_if_t<std::is_arithmetic_v<T>, int> = 0>
    FieldParam(T Number) : number_(static_cast<double>(Number)) {}  // NOLINT: implicit
    FieldParam(const char* Text) : is_text_(true), text_(Text) {}    // NOLINT: implicit
    FieldParam(std::string Text) : is_text_(true), text_(std::move(Text)) {}  // NOLINT
    // As a whole number, rounded half to even; PdfError 13 when a text is not
    // a number, 6 when the number does not fit 32 bits.
    std::int32_t AsWholeNumber() const;
    // As a text; a number as its shortest decimal form ("0", "2.5", "1E+20").
    std::string AsText() const;

   private:
    bool is_text_ = false;
    double number_ = 0;
    std::string text_;
  };
  // Field types: 0 text, 1 check box, 2 list box, 3 combo box, 4 radio
  // button, 5 push button; any other type fails with PdfError 5 and adds
  // no field. Options: 1 hidden, 2 not printed, 4 no
  // background, 8 read-only, 16 multi-line, 32 password, 128 multiple
  // selection, 256 no spell check, 512 no scrolling, 1024 comb, 2048 right,
  // 4096 centred, 8192 automatic font size, 16384 no border, 32768 border 2,
  // 65536 border 3, 131072 dashed, 262144 beveled, 524288 inset, 1048576
  // underline, 4194304 / 8388608 / 2097152 / 16777216 / 33554432 check glyph
  // "5" "F" "l" "H" "n" (else "4"), 67108864 / 134217728 / 268435456
  // rotation 90 / 180 / 270. Value: text field the value, check box "true"
  // for checked, choice fields the options separated by "|", push button the
  // caption. The field is written when the page ends.
  void AddField(const std::string& FieldName, std::int32_t FieldType, float X, float Y,
                float XDim, float YDim, const std::string& Value,
                const FieldParam& Param = FieldParam(0), const std::string& Tooltip = "",
                std::int32_t Options = 0);
  // Attaches the JavaScript Action to every field of the open page named
  // FieldName or below it ("FieldName." ...). OnEvent 0 activation, 1 mouse
  // down, 2 enter, 3 exit, 4 focus, 5 blur, 6 keystroke, 7 validate,
  // 8 calculate (also puts the field into the calculation order), 9 format.
  void OnFieldEvent(std::int32_t OnEvent, const std::string& FieldName,
                    const std::string& Action);

  // document and page actions (pdf/interactive/PdfWriter_actions.cpp)
  // Keeps Script for an event (appended to what is kept, or replacing it):
  // 0 page opened, 1 page closed (for the open page), 2 document opened,
  // 3 will close, 4 will print, 5 will save, 6 printed, 7 saved (3 to 7 need
  // PDF 1.4), 8 document-level script.
  void OnDocEvent(std::int32_t EventType, const std::string& Script, bool ResetScript = false);

 protected:
  // Completes Dictionary (the annotation's dictionary without its closing)
  // with the title, contents, default appearance and a URI or remote-file
  // action for Target, writes it as the next object and lists it on the open
  // page, or on the page object being recorded. Empty texts are left out.
  // During a dropped recording (RecordingDropped) nothing is written.
  void WriteAnnotation(std::string& Dictionary, const std::string& Contents,
                       const std::string& Title, const std::string& Appearance,
                       const std::string& Target);
  // The view part of a destination ("/FitB", "/XYZ x y z", ...) for the view
  // type and the page-space point (x, y) in points; empty for other types.
  std::string DestinationView(std::int32_t Type, float x, float y, float Width, float Height,
                              float Zoom) const;
  // Stores a named destination at Index (0: a new one at the end) and
  // returns its index.
  std::int32_t StoreDestination(std::int32_t Index, std::int32_t Page, const std::string& View,
                                const std::string& Name);
  // The default appearance of a field or note without a selected font names
  // this resource; EndDoc writes its font and lists it in the form's /DR.
  static constexpr const char* kFormFontName = "Helv";
  // Readers draw the glyph of a check box or option button in ZapfDingbats,
  // which they look up in the form's resources under this name.
  static constexpr const char* kButtonFontName = "ZaDb";
  // Writes the form font when something named it, and the button font when
  // a button needs it; returns their /DR entries ("/Helv n 0 R ") or an
  // empty text.
  std::string WriteFormFont();

 public:
  // ==== end annotation, link, form field and action members ====

 public:
  // ==== PDF reading and page import members (pdf/interactive) ====
  // The page count of an existing PDF file and, on success, its title,
  // subject and author (Windows-1252) and whether it is encrypted. A file is
  // parsed once and kept as a source; failures are recorded (53 no such
  // file, 321 encrypted or a form not read: cross-reference or object
  // streams, malformed structure; 6 the table of kept sources is full) and
  // give 0.
  std::int32_t GetInfo(const std::string& Filename, std::string* PDFTitle = nullptr,
                       std::string* PDFSubject = nullptr, std::string* PDFAuthor = nullptr,
                       bool* PDFEncrypted = nullptr);
  // Draws page PageNumber of a PDF file with its top-left corner at (DestX,
  // DestY), XDim by YDim user units (0: derived from the page's own size and
  // proportions). The page becomes a form XObject "_PDF_s.p" written once
  // per source, with the objects its resources use copied once per source.
  // A file GetInfo refuses draws nothing; otherwise a failure is a
  // PdfError thrown before anything is written: 321 a page that cannot be
  // read, 5 a placement whose scale would be written as 0 (it would be
  // singular), 6 a placement or an object number beyond the numbers' range,
  // 52 no document open; and 5 in the cell of an uncoloured tiling pattern,
  // which carries no colour of its own.
  void ImportPage(const std::string& Filename, std::int32_t PageNumber, float DestX, float DestY,
                  float XDim = 0, float YDim = 0);

 protected:
  // Reads the page into a form XObject and the objects it uses (the whole
  // page is read and checked before the first byte is written).
  void WriteImportedPage(std::int32_t Source, std::int32_t PageNumber);
  // Makes Import.CachedBytes the bytes of the file (read again only when it
  // changed); returns 0, or a failure number with its description.
  std::int32_t LoadSourceFile(const std::string& Path, std::string& Description);

  // ==== end PDF reading and page import members ====

 public:
  // ==== security members (pdf/core/PdfWriter_security.cpp) ====
  // Turns protection on: owner and user entries, permission value, document
  // key and file identifier for the whole document. Call before BeginDoc.
  // Each call makes a file identifier of its own, so no two documents share
  // a key. The passwords (Windows-1252) go into the key in PDFDocEncoding,
  // as readers convert what the user types; a character without a code
  // there keeps its byte.
  void SetProtection(std::int32_t Mode, const std::string& OwnerPwd = "",
                     const std::string& UserPwd = "");
  // The RC4 key of one object, as a byte string (one character per byte).
  // 0 stands for the object being written; the number used is written back.
  std::string GetObjectKey(std::int32_t& ObjectNumber);
  // RC4 of Data(0..LastIndex) under Key (LastIndex 0: the whole array; -1:
  // nothing), as a new array; Data is not changed. The key schedule of the
  // last key is cached in Security.Rc4Cache.
  Bytes Rc4(const std::string& Key, const Bytes& Data, std::int32_t& LastIndex);
  // ==== end security members ====

 public:
  // ==== deflate members (pdf/core/PdfWriter_deflate.cpp) ====
  // Compresses every byte of ByteArray into a zlib stream that replaces it;
  // BufCount receives its length. CompressionQuality 0 to 3.
  void zzToFlateDecode(Bytes& ByteArray, std::int32_t& BufCount,
                       std::uint8_t CompressionQuality);
  // ==== end deflate members ====

 protected:
  // -------------------------------------------------------------------------
  // State, group by group. Protected so that tests can reach it through a
  // derived probe; callers use the members above.

  struct OutputFileState {
    std::int16_t FileNumber = 0;  // 0 = none; non-zero while a file is (meant to be) open
    std::string FileName;
    std::int32_t FinalSize = 0;
    std::FILE* Handle = nullptr;  // null after a failed open: writes then fail
    std::int64_t BytesWritten = 0;
    bool DocumentBegun = false;  // a file was opened since the last Abort
  };

  struct ObjectNumberingState {
    std::int32_t LastObjectNumber = 0;
    std::vector<std::string> XrefEntries;
    std::int32_t CurrentObjectNumber = 0;
    std::int32_t VersionIncrement = 0;
  };

  struct LastErrorState {
    std::int32_t LastErrNumber = 0;
    std::string LastErrSource;
    std::string LastErrDescription;
  };

  struct TableGrowthState {
    std::uint8_t MemoryUsage = 1;
  };

  struct DocumentPropertiesState {
    std::string Title;
    std::string Subject;
    std::string Keywords;
    std::string Author;
    std::string Creator;
    std::string Producer;
    std::string CreationDate;
  };

  struct PageMargins {
    float Left = 0;
    float Right = 0;
    float Top = 0;
    float Bottom = 0;
  };

  struct PageState {
    float PageWidth = 596;
    float PageHeight = 842;
    float ScaleFactor = 1;
    PageMargins Margins;
    bool ClipPage = false;
    std::int32_t DefaultRotation = 0;
    std::int32_t PageRotation = 0;
    std::int32_t PageCount = 0;
    std::vector<std::int32_t> PageObjects;
    std::string PageKids;
    std::string PageAnnots;
    bool PageOpen = false;
    float CurrentX = 0;
    float CurrentY = 0;
  };

  struct ContentState {
    StringBuffer PageContent;
    StringBuffer ObjectContent;
    StringBuffer TilingContent;
    bool RecordingObject = false;
    bool RecordingTiling = false;
    bool RecordingUncolored = false;
    std::array<float, 4> LastRect{};  // lower-left x, y, upper-right x, y
    // The alias being recorded names an object recorded before: the drawing
    // is taken and dropped at EndObject, the first object keeps the name.
    bool RecordingDuplicate = false;
  };

  struct ColourState {
    std::string FillColor;
    std::string FillPatternColor;
    std::string TextColor;
    std::string TextPatternColor;
    std::string LineColor;
    std::string LinePatternColor;
    float LineWidth = 0;  // points
  };

  struct TextState {
    float CharSpacing = 0;
    float WordSpacing = 0;
    float HorizontalScaling = 100;
    float LineSpacing = 1;
    std::string FontName;
    std::int32_t FontStyle = 0;
    float FontSize = 0;
    std::string FontResource;
    std::int32_t FontIndex = 0;
    std::vector<FontRecord> Fonts;
    std::int32_t FontCount = 0;
    std::string FontResources;
    // The name token of FontResource, kept while the resource stays the same
    // (every text line writes it).
    std::string FontToken;
    std::string FontTokenOf;
  };

  struct SettingsState {
    std::int32_t ViewerPreferences = 0;
    std::int32_t CompressionMode = 0;
    std::uint8_t CompressionQuality = 0;
  };

  struct TransitionState {
    std::string NextText;      // pages yet to begin
    float NextDuration = 1;
    std::string PageText;      // the open page
    float PageDuration = 1;
  };

  // One page-label range as given; its prefix becomes a literal string only
  // when the catalog is written (the catalog's own encryption key).
  struct PageLabelRange {
    std::int32_t PageIndex = 0;
    std::string Style;   // " /S /D", ...
    std::string Prefix;
    std::int32_t FirstValue = -1;
  };

  struct LabelsTransitionsScriptsState {
    std::string PageLabels;
    std::vector<PageLabelRange> LabelRanges;
    TransitionState Transition;
    std::array<std::string, 9> DocScripts;  // by document event type 0..8
  };

  struct Rc4CacheState {
    std::string Key;
    std::array<std::uint8_t, 256> Schedule{};
  };

  struct SecurityState {
    bool Encrypted = false;
    Rc4CacheState Rc4Cache;
    std::string DocumentKey;
    std::string UserEntry;
    std::string OwnerEntry;
    std::int32_t PermissionValue = 0;
    std::uint8_t ObjectKeyLength = 0;
    // The document's file identifier, 16 bytes of its own made by
    // SetProtection: part of the key, and both /ID elements.
    std::string FileIdText;
  };

  struct FormFieldsState {
    std::vector<FieldRecord> Fields;
    std::int32_t FieldCount = 0;
    std::string FieldRefs;
    std::string CalcOrderRefs;
    bool FormFontNeeded = false;  // a note or field default appearance names kFormFontName
    bool ButtonFontNeeded = false;  // a check box or option button exists: /DR needs kButtonFontName
  };

  struct ResourcesState {
    std::vector<RecordedObject> RecordedObjects;
    std::int32_t RecordedObjectCount = 0;
    std::string XObjectResources;
    std::vector<ImageRecord> Images;
    std::int32_t ImageCount = 0;
    std::string ImageResources;
    std::int32_t AlphaCount = 0;
    std::string ExtGStateResources;
    std::string PatternResources;
    std::string TilingName;        // the tiling pattern being recorded
    std::string TilingDictionary;  // its dictionary, without the closing ">>"
    bool TilingUncolored = false;  // it is uncoloured (PaintType 2)
    // The names of the uncoloured tiling patterns defined (upper-cased).
    std::vector<std::string> UncoloredPatterns;
    // A tile's content, or an object a tile plays, names a pattern: the
    // tiles' resources then hold the patterns and their colour space too.
    bool TilesNamePatterns = false;
  };

  struct OutlinesLayersDestinationsStylesState {
    std::vector<OutlineEntry> Outlines;
    std::int32_t OutlineCount = 0;
    std::vector<LayerRecord> Layers;
    std::int32_t LayerCount = 0;
    std::vector<DestinationRecord> Destinations;
    std::int32_t DestinationCount = 0;
    std::vector<SavedStyle> StyleStack;
    std::int32_t StyleDepth = 0;
    std::vector<CellFont> CellFonts;  // the open cells, innermost last
    // table and row/column spaces
    float TableX = 0;
    float TableY = 0;
    bool RowOpen = false;
    bool ColumnOpen = false;
    float ColumnWidth = 0;
    float RowHeight = 0;
    // Where each DefineRef name stands in Destinations (checked against the
    // record before use, so entries left from before Abort do no harm).
    std::unordered_map<std::string, std::int32_t> RefIndex;
  };

  struct PageImportState {
    std::vector<ImportSource> ImportSources;
    std::int32_t ImportSourceCount = 0;
    std::int32_t SourceFileHandle = 0;
    std::int32_t CurrentSource = 0;
    // The bytes of the source file read last, kept while its name, size and
    // modification time stay the same, so that importing page after page
    // does not read the whole file again each time.
    std::string CachedPath;
    std::int64_t CachedSize = -1;
    std::int64_t CachedTime = 0;
    Bytes CachedBytes;
  };

  struct PowersOfTwoState {
    std::array<std::int32_t, 17> PowersOfTwo{};
  };

  OutputFileState Output;
  ObjectNumberingState Objects;
  LastErrorState Error;
  TableGrowthState Growth;
  DocumentPropertiesState Properties;
  PageState Pages;
  ContentState Content;
  ColourState Colours;
  TextState Text;
  SettingsState Settings;
  LabelsTransitionsScriptsState Labels;
  SecurityState Security;
  FormFieldsState Forms;
  ResourcesState Resources;
  OutlinesLayersDestinationsStylesState Navigation;
  PageImportState Import;
  PowersOfTwoState Powers;

  // -------------------------------------------------------------------------
  // Internal members.

  // lifecycle (PdfWriter_lifecycle.cpp)
  // Records a failure for the caller to read: source "PdfWriter." + MemberName,
  // description = the failure's own + " - " + Detail when Detail is not empty.
  void RecordError(const std::string& MemberName, const std::string& Detail,
                   std::int32_t Number, const std::string& Description);
  void RecordError(const std::string& MemberName, const std::string& Detail,
                   const PdfError& Failure);
  // Grows a table indexed from 1 so that entry n exists (the one growth rule
  // of every table of the object).
  template <typename T>
  void GrowTable(std::vector<T>& Table, std::int32_t n) {
    if (n < 1) return;
    const std::int32_t upper = static_cast<std::int32_t>(Table.size()) - 1;
    if (n == 1) {
      Table.assign(static_cast<std::size_t>(TableUpperBound(n)) + 1, T{});
    } else if (n > upper) {
      Table.resize(static_cast<std::size_t>(TableUpperBound(n)) + 1);
    }
  }
  // The upper bound a table takes when its count n needs room (n == 1: sized
  // afresh; otherwise grown past n).
  std::int32_t TableUpperBound(std::int32_t n) const;

  // pages (PdfWriter_pages.cpp)
  float ToPoints(float Value) const;  // Value x ScaleFactor, overflow checked
  // Fails with PdfError 6 when the page's margin box would not write as
  // numbers (checked whenever the page size or the margins change).
  static void CheckPageBox(float Width, float Height, const PageMargins& m);

  // file structure (PdfWriter_file.cpp)
  void WriteLine(const std::string& Text);
  void WriteBytes(const char* Data, std::size_t Count);
  std::int32_t BeginIndirectObject(std::int32_t n = 0);
  void EndIndirectObject();
  std::string BoolText(bool Value) const;
  std::string ResourceDictionary(bool WithPatterns) const;
  std::string CatalogPageLabels();
  std::string LayerProperties;  // "/_LAY_i n 0 R " per layer written at the close

  // content buffers and value formatting (PdfWriter_content.cpp)
  void AppendContent(std::string_view Line);
  // One content line made of several pieces, written straight into the
  // buffer without joining them first.
  void AppendContent(std::initializer_list<std::string_view> Pieces);
  // The buffer AppendContent writes into now; null when lines are dropped.
  StringBuffer* ActiveContent();
  // "q" and "Q" of spaces and tables, counted per content so that a "Q"
  // never comes without its "q"; each ends a path left open first.
  // CloseOpenSaves ends a content balanced: a path left open ended, then
  // its open layers and saved states closed.
  void OpenSave();
  void CloseSave();
  static void CloseOpenSaves(StringBuffer& Buffer);
  // Ends the buffer's open path unpainted ("n", "W n" when it clips); the
  // work of EndOpenPath and of a content's end.
  static void EndPath(StringBuffer& Buffer);
  // Records a "cm" just written into the active content, with its numbers as
  // written, so that LastRect follows the shapes drawn under it.
  void Transformed(double A, double B, double C, double D, double E, double F);
  // Takes the active content back to where it stood when the member that
  // made it started, if that member fails part-way: a caller who catches
  // the failure goes on with well-formed content.
  class ContentRollback {
   public:
    explicit ContentRollback(PdfWriter& Writer);
    ~ContentRollback();
    ContentRollback(const ContentRollback&) = delete;
    ContentRollback& operator=(const ContentRollback&) = delete;

   private:
    StringBuffer* buffer_;
    std::int32_t position_ = 1;
    std::int32_t open_saves_ = 0;
    std::int32_t open_layers_ = 0;
    bool path_open_ = false;
    bool clip_pending_ = false;
    std::array<double, 6> transform_{};
    std::vector<std::array<double, 6>> saved_transforms_;
    int failures_;
  };
  static void BufferAppend(StringBuffer& Buffer, std::string_view Text);
  static void BufferAppendChar(StringBuffer& Buffer, std::uint8_t Code);
  // Makes room for content up to position End (the one growth rule of the
  // buffers); fails with PdfError 7 past a billion bytes.
  static void BufferGrow(StringBuffer& Buffer, std::int64_t End);
  static void BufferReset(StringBuffer& Buffer);
  static std::string BufferText(const StringBuffer& Buffer);
  static float RoundValue(float Value);
  static std::string FormatNumber(float Value);
  std::string FormatUnits(float Value) const;
  std::string ReplaceText(const std::string& Expression, const std::string& Find,
                          const std::string& Replacement, std::int32_t Start = 1,
                          std::int32_t Count = 2147483647);
  static void SplitText(const std::string& Expression, std::vector<std::string>& Result,
                        const std::string& Delimiter);
  static std::string EscapeString(const std::string& Text);
  // The literal of a byte string (a default appearance, a URI, a file
  // name): Text's bytes as they are, escaped, and encrypted with the key of
  // the object being written when protection is on.
  std::string FormatTextString(const std::string& Text);
  // The literal of a text string that readers show (a field's name, value
  // or options, a note, a label prefix, a title): Text (Windows-1252) as
  // PDFDocEncoding or UTF-16 (PdfTextBytes), then as FormatTextString.
  std::string FormatPdfText(const std::string& Text);
  // Stores the last rectangle, given in page space as if the margin origin
  // were the page's top-left corner; it is kept where it stands on the page.
  void SetLastRect(float X1, float Y1, float X2, float Y2);
  void RequireVersion(std::int32_t Level);
  std::string ReplaceWork;  // ReplaceText's reusable work buffer

  // colours and path painting (PdfWriter_colours.cpp)
  void ParseColor(std::string& Color, std::string& PatternColor);
  std::string ColorToRgb(const std::string& Color);
  // The text of one colour component (0-255) as ColorToRgb writes it.
  static const std::string& ComponentText(std::uint32_t Component);
  // One content line "r g b " + Operator for the colour "#RRGGBB".
  void AppendRgb(const std::string& Color, std::string_view Operator);
  void PaintOperator(std::int32_t Options);
  // Whether PaintOperator(Options) leaves the path open for a later
  // painting operator (options 1 and 3: no painting, or only "h").
  static bool LeavesPathOpen(std::int32_t Options) { return (Options & 7) == 1 || (Options & 7) == 3; }
  // Selects the defined pattern Name for filling ("cs ", " scn") or
  // stroking ("CS ", " SCN"): an uncoloured one with PatternColor (black
  // when none is given) in the pattern colour space with an RGB base, which
  // KeptPatternColor then holds; a coloured one alone.
  void SelectPattern(const std::string& Name, std::string PatternColor, std::string& KeptPatternColor,
                     std::string_view SpaceOperator, std::string_view ColorOperator);
  // Whether a pattern of this name (as a colour text leaves it: trimmed,
  // upper-cased) has been defined, i.e. stands in the pattern resources.
  bool PatternDefined(const std::string& Name) const;

  // recorded page objects (PdfWriter_objects.cpp)
  void PlayAutoObjects(bool Phase);

  // document information (PdfWriter_docinfo.cpp)
  std::string BuildXmpMetadata();

  // outlines (PdfWriter_outlines.cpp)
  std::int32_t WriteOutlines();

  // streams (PdfWriter_streams.cpp)
  void WriteStream(Bytes& Data, std::int32_t ObjectNumber, const std::string& Filter,
                   std::int32_t Length1);
  // Writes a stream object of a text (every one is JavaScript, a text
  // stream): Text (Windows-1252) as PDFDocEncoding or UTF-16, so that the
  // script reads the caller's characters; returns its object number.
  std::int32_t WriteStreamObject(const std::string& Text);
};

}  // namespace pdf
