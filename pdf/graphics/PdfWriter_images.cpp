// Images: DrawImage places a picture file. Raster files (BMP, GIF, JPEG,
// TGA) are read once per document and file name and frame by a reader of
// their own, written as an image object and drawn with "Do"; EPS, AI and WMF
// drawings are converted into content on every call.

#include <cstdint>
#include <string>

#include "pdf/PdfWriter.h"
#include "pdf/core/pdf_name.h"
#include "pdf/graphics/bmp_reader.h"
#include "pdf/graphics/gif_reader.h"
#include "pdf/graphics/input_file.h"
#include "pdf/graphics/jpeg_reader.h"
#include "pdf/graphics/raster_image.h"
#include "pdf/graphics/tga_reader.h"
#include "pdf/text/text_case.h"

namespace pdf {

namespace {

constexpr std::int32_t kInvalidFormat = 321;

bool EndsWith(const std::string& text, const char* tail) {
  const std::string t(tail);
  return text.size() >= t.size() && text.compare(text.size() - t.size(), t.size(), t) == 0;
}

int HexPair(const std::string& text, std::size_t at) {
  int v = 0;
  for (std::size_t i = at; i < at + 2; ++i) {
    const char c = i < text.size() ? text[i] : 'x';
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else return -1;
    v = v * 16 + d;
  }
  return v;
}

}  // namespace

void PdfWriter::DrawImage(const std::string& Filename, float DestX, float DestY, float ImgWidth,
                          float ImgHeight, std::int16_t FrameNumber, const std::string& ColorMask) {
  // The extension picks the reader whatever its case; the cache compares
  // the name as given, since on this file system "a.bmp" and "A.BMP" are
  // two different files.
  const std::string key = text_case::Upper(Filename);
  if (EndsWith(key, ".EPS") || EndsWith(key, ".AI")) {
    ConvertEps(Filename, DestX, DestY, ImgWidth, ImgHeight);
    return;
  }
  if (EndsWith(key, ".WMF")) {
    ConvertWmf(Filename, DestX, DestY, ImgWidth, ImgHeight);
    return;
  }
  if (UncolouredCell()) {
    // A picture brings its own colours, which the cell of an uncoloured
    // tiling pattern may not hold: refused before anything is read or
    // written.
    RecordError("DrawImage", Filename, 5, PdfError::DescriptionOf(5) + " (a picture in an uncoloured tiling pattern)");
    return;
  }
  try {
    std::int32_t number = 0;
    for (std::int32_t i = 1; i <= Resources.ImageCount; ++i) {
      const ImageRecord& r = Resources.Images.at(static_cast<std::size_t>(i));
      if (r.FileName == Filename && r.FrameNumber == FrameNumber) {
        number = i;
        break;
      }
    }
    if (number == 0) {
      const bool gif = EndsWith(key, ".GIF"), bmp = EndsWith(key, ".BMP"), tga = EndsWith(key, ".TGA"),
                 jpg = EndsWith(key, ".JPG");
      if (!gif && !bmp && !tga && !jpg) {
        RecordError("DrawImage", Filename, kInvalidFormat, "Invalid file format (no reader for this file type)");
        return;
      }
      // The record is made first, so the image number is its place in the
      // table; a file that fails leaves no record behind.
      if (Resources.ImageCount == INT32_MAX) throw PdfError(6);
      const std::int32_t n = Resources.ImageCount + 1;
      GrowTable(Resources.Images, n);
      Resources.ImageCount = n;
      ImageRecord& record = Resources.Images[static_cast<std::size_t>(n)];
      record = ImageRecord{Filename, 0, 0, FrameNumber};
      bool loaded = false;
      try {
        if (gif) loaded = LoadGif(record, Filename, FrameNumber);
        else if (bmp) loaded = LoadBmp(record, Filename, ColorMask);
        else if (tga) loaded = LoadTga(record, Filename);
        else loaded = LoadJpeg(record, Filename);
      } catch (...) {
        loaded = false;
        Resources.Images[static_cast<std::size_t>(n)] = ImageRecord{};
        Resources.ImageCount = n - 1;
        throw;
      }
      if (!loaded) {
        Resources.Images[static_cast<std::size_t>(n)] = ImageRecord{};
        Resources.ImageCount = n - 1;
        return;
      }
      number = n;
    }
    const ImageRecord& record = Resources.Images.at(static_cast<std::size_t>(number));
    if (record.Width <= 0 || record.Height <= 0) {
      RecordError("DrawImage", Filename, PdfError(11));
      return;
    }
    SetXY(DestX, DestY);
    const float width = static_cast<float>(record.Width);
    const float height = static_cast<float>(record.Height);
    if (ImgWidth == 0 && ImgHeight == 0) {
      ImgWidth = width / Pages.ScaleFactor;
      ImgHeight = height / Pages.ScaleFactor;
    } else if (ImgWidth == 0) {
      ImgWidth = ImgHeight * width / height;
    } else if (ImgHeight == 0) {
      ImgHeight = ImgWidth * height / width;
    }
    // Formed whole before anything is recorded, so an overflow leaves no
    // trace; a size written as 0 would make the matrix singular, and is
    // refused (error 5) likewise.
    const bool jpeg = EndsWith(key, ".JPG");
    const std::string w = ScaleText(ToPoints(ImgWidth)), h = ScaleText(ToPoints(jpeg ? -ImgHeight : ImgHeight));
    const std::string line = "q " + w + " 0 0 " + h + " " + FormatUnits(DestX) + " " +
                             FormatUnits(jpeg ? DestY + ImgHeight : DestY) + " cm " +
                             NameToken("_IMG_" + std::to_string(number)) + " Do Q";
    SetLastRect(Pages.CurrentX, Pages.PageHeight - Pages.CurrentY, Pages.CurrentX + ToPoints(ImgWidth),
                Pages.PageHeight - Pages.CurrentY - ToPoints(ImgHeight));
    // Not every reader ends a path at "Do": a path the caller left open
    // is ended before the picture, so that nothing paints it later.
    EndOpenPath();
    AppendContent(line);
    ColourCarried();
  } catch (const PdfError& e) {
    RecordError("DrawImage", Filename, e);
  }
}

std::int32_t PdfWriter::WriteImage(const std::string& Kind, Bytes& Data, const Bytes& Palette,
                                   std::int32_t Width, std::int32_t Height, std::uint8_t BitsPerPixel,
                                   const std::string& Name, const std::string& ColorSpace,
                                   const std::string& Filter, const std::string& Mask,
                                   const std::string& Decode) {
  const bool indexed = Kind == "BMP" || Kind == "GIF";
  const std::string space = Kind == "JPG" ? ColorSpace : "DeviceRGB";
  const std::int32_t n = BeginIndirectObject(0);
  WriteLine("<< /Type /XObject /Subtype /Image /Name " + Name + " /Width " + std::to_string(Width) +
            " /Height " + std::to_string(Height));
  if (!Mask.empty()) WriteLine("/Mask [" + Mask + "]");
  if (!Decode.empty()) WriteLine("/Decode [" + Decode + "]");
  const bool lookup = indexed && BitsPerPixel <= 8;
  if (!indexed || BitsPerPixel == 24) {
    WriteLine("/BitsPerComponent 8 /ColorSpace " + NameToken(space));
  } else if (lookup) {
    WriteLine("/BitsPerComponent " + std::to_string(BitsPerPixel) + " /ColorSpace [/Indexed " + NameToken(space) +
              " " + std::to_string((1 << BitsPerPixel) - 1) + " " + std::to_string(n + 1) + " 0 R]");
  }
  WriteStream(Data, 0, Filter, 0);
  EndIndirectObject();
  if (lookup) {
    BeginIndirectObject(0);
    WriteLine("<<");
    Bytes table = Palette;
    WriteStream(table, 0, Filter, 0);
    EndIndirectObject();
  }
  return n;
}

// ---- the loaders ------------------------------------------------------------

bool PdfWriter::ReadCallerFile(const std::string& Path, const std::string& Detail, Bytes& File) {
  const std::int32_t failure = ReadInputFile(Path, File);
  if (failure == 0) return true;
  RecordError("DrawImage", Detail, PdfError(failure));
  return false;
}

std::string PdfWriter::MaskText(const std::vector<int>& Key) {
  std::string text;
  for (const int v : Key) text += std::to_string(v) + " ";
  return text;
}

bool PdfWriter::StoreImage(ImageRecord& Record, const std::string& Kind, RasterImage& Image,
                           const std::string& Mask, const std::string& Filter) {
  if (!Image.ok()) {
    switch (Image.status) {
      case ReadStatus::kTruncated:
        RecordError("DrawImage", Record.FileName, 62, PdfError::DescriptionOf(62) + " (" + Image.reason + ")");
        break;
      case ReadStatus::kTooLarge:
        RecordError("DrawImage", Record.FileName, 7, PdfError::DescriptionOf(7) + " (" + Image.reason + ")");
        break;
      default:
        RecordError("DrawImage", Record.FileName, kInvalidFormat, "Invalid file format (" + Image.reason + ")");
        break;
    }
    return false;
  }
  const std::string name = NameToken("_IMG_" + std::to_string(Resources.ImageCount));
  // Writers of CMYK JPEG under an Adobe marker store the inks inverted.
  const std::string decode = Image.inverted_cmyk ? "1 0 1 0 1 0 1 0" : "";
  const std::int32_t n = WriteImage(Kind, Image.data, Image.palette, Image.width, Image.height,
                                    Image.bits_per_pixel, name, Image.color_space, Filter, Mask, decode);
  Record.Width = Image.width;
  Record.Height = Image.height;
  Resources.ImageResources += name + " " + std::to_string(n) + " 0 R ";
  return true;
}

bool PdfWriter::LoadBmp(ImageRecord& Record, const std::string& Path, const std::string& ColorMask) {
  Bytes file;
  if (!ReadCallerFile(Path, Record.FileName, file)) return false;
  RasterImage image = ReadBmp(file);
  std::string mask;
  if (image.ok() && !ColorMask.empty()) {
    std::string colour = ColorMask, pattern;
    ParseColor(colour, pattern);
    const int red = HexPair(colour, 1), green = HexPair(colour, 3), blue = HexPair(colour, 5);
    if (!colour.empty() && colour[0] == '#' && red >= 0 && green >= 0 && blue >= 0) {
      if (image.bits_per_pixel > 8) {
        mask = MaskText({red, red, green, green, blue, blue});
      } else {
        // The last palette entry of that colour becomes transparent.
        for (std::int32_t i = 0; i < image.palette_entries; ++i) {
          const std::uint8_t* p = image.palette.data() + 3 * i;
          if (p[0] == red && p[1] == green && p[2] == blue) mask = MaskText({i, i});
        }
      }
    }
  }
  return StoreImage(Record, "BMP", image, mask, "");
}

bool PdfWriter::LoadGif(ImageRecord& Record, const std::string& Path, std::int16_t FrameNumber) {
  Bytes file;
  if (!ReadCallerFile(Path, Record.FileName, file)) return false;
  RasterImage image = ReadGif(file, FrameNumber);
  return StoreImage(Record, "GIF", image, MaskText(image.color_key), "");
}

bool PdfWriter::LoadJpeg(ImageRecord& Record, const std::string& Path) {
  Bytes file;
  if (!ReadCallerFile(Path, Record.FileName, file)) return false;
  RasterImage image = ReadJpeg(file);
  return StoreImage(Record, "JPG", image, "", "/DCTDecode ");
}

bool PdfWriter::LoadTga(ImageRecord& Record, const std::string& Path) {
  Bytes file;
  if (!ReadCallerFile(Path, Record.FileName, file)) return false;
  RasterImage image = ReadTga(file);
  return StoreImage(Record, "TGA", image, MaskText(image.color_key), "");
}

}  // namespace pdf
