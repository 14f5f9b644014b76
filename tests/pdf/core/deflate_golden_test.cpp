// Our deflate encoder's output pinned byte for byte: a fixed corpus (text,
// page content, a TrueType font, random bytes, runs, from empty to about
// 300 KB) encoded at every quality, each stream's length and MD5 compared
// with the values recorded from the encoder. Any change to the match finder,
// the block chooser or the tree builder that alters one output byte fails
// here, so speed work on the encoder can be checked against it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pdf/core/deflate.h"
#include "pdf/core/md5.h"

namespace {

using pdf::Bytes;

// A small fixed generator (xorshift64*), so the corpus never depends on the
// standard library's distributions.
class Prng {
 public:
  explicit Prng(std::uint64_t seed) : state_(seed ? seed : 1) {}
  std::uint32_t Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return static_cast<std::uint32_t>((state_ * 0x2545F4914F6CDD1DULL) >> 32);
  }
  std::uint32_t Below(std::uint32_t n) { return Next() % n; }

 private:
  std::uint64_t state_;
};

void Append(Bytes& out, const std::string& s) { out.insert(out.end(), s.begin(), s.end()); }

// Italian-like prose: words from a fixed list, sentences with capitals,
// commas and full stops, paragraphs ending in CR LF.
Bytes ItalianText(std::size_t size, std::uint64_t seed) {
  static const char* const kWords[] = {
      "il",        "la",        "di",          "che",        "e",          "per",       "un",
      "una",       "del",       "della",       "dei",        "condominio", "edificio",  "lavori",
      "parti",     "comuni",    "contributo",  "comune",     "domanda",    "richiesta", "amministratore",
      "proprietario", "quadro", "economico",   "spesa",      "importo",    "euro",      "totale",
      "ai",        "sensi",     "articolo",    "legge",      "regionale",  "dichiara",  "sottoscritto",
      "residente", "in",        "via",         "numero",     "civico",     "piano",     "scala",
      "manutenzione", "straordinaria", "facciata", "tetto",  "impianto",   "ascensore", "riscaldamento",
      "documenti", "allegati",  "firma",       "data",       "presente",   "atto",      "notorio",
      "non",       "sono",      "stati",       "essere",     "come",       "previsto",  "dal",
      "bando",     "entro",     "il",          "termine",    "delle",      "opere",     "eseguite"};
  constexpr std::uint32_t kCount = sizeof kWords / sizeof kWords[0];
  Prng rng(seed);
  Bytes out;
  out.reserve(size + 32);
  bool capital = true;
  while (out.size() < size) {
    std::string word = kWords[rng.Below(kCount)];
    if (capital) word[0] = static_cast<char>(word[0] - 'a' + 'A');
    capital = false;
    Append(out, word);
    const std::uint32_t r = rng.Below(100);
    if (r < 6) {
      Append(out, ". ");
      capital = true;
    } else if (r < 12) {
      Append(out, ", ");
    } else if (r < 14) {
      Append(out, ".\r\n");
      capital = true;
    } else {
      Append(out, " ");
    }
  }
  out.resize(size);
  return out;
}

// Page content lines as the writer makes them: text positioning and
// showing, line drawing, colours and numbers with up to two decimals.
Bytes PageContent(std::size_t size, std::uint64_t seed) {
  Prng rng(seed);
  Bytes out;
  out.reserve(size + 128);
  auto number = [&] {
    const std::uint32_t whole = rng.Below(600);
    const std::uint32_t hundredths = rng.Below(100);
    std::string s = std::to_string(whole);
    if (hundredths != 0) {
      char buf[8];
      std::snprintf(buf, sizeof buf, ".%02u", static_cast<unsigned>(hundredths));
      s += buf;
      while (s.back() == '0') s.pop_back();
    }
    return s;
  };
  while (out.size() < size) {
    switch (rng.Below(6)) {
      case 0:
        Append(out, "BT /F" + std::to_string(1 + rng.Below(3)) + " " + std::to_string(8 + rng.Below(6)) +
                        " Tf " + number() + " " + number() + " Td (" + std::string("Importo lavori n. ") +
                        std::to_string(rng.Below(1000)) + ") Tj ET\r\n");
        break;
      case 1:
        Append(out, number() + " " + number() + " m " + number() + " " + number() + " l S\r\n");
        break;
      case 2:
        Append(out, number() + " " + number() + " " + number() + " " + number() + " re f\r\n");
        break;
      case 3:
        Append(out, "0." + std::to_string(rng.Below(10)) + " 0." + std::to_string(rng.Below(10)) + " 0." +
                        std::to_string(rng.Below(10)) + " rg\r\n");
        break;
      case 4:
        Append(out, "q 1 0 0 1 " + number() + " " + number() + " cm " + number() + " w Q\r\n");
        break;
      default:
        Append(out, "BT " + number() + " " + number() + " Td (Condominio via Roma) Tj ET\r\n");
        break;
    }
  }
  out.resize(size);
  return out;
}

Bytes RandomBytes(std::size_t size, std::uint64_t seed) {
  Prng rng(seed);
  Bytes out(size);
  for (auto& b : out) b = static_cast<std::uint8_t>(rng.Next() >> 24);
  return out;
}

// Runs of a few byte values with lengths from 1 to 300.
Bytes Runs(std::size_t size, std::uint64_t seed) {
  Prng rng(seed);
  Bytes out;
  out.reserve(size + 300);
  while (out.size() < size) {
    const std::uint8_t value = static_cast<std::uint8_t>("ab \n\0\xff"[rng.Below(6)]);
    out.insert(out.end(), 1 + rng.Below(300), value);
  }
  out.resize(size);
  return out;
}

// Text with short stretches of random bytes and long repeats mixed in.
Bytes Mixed(std::size_t size, std::uint64_t seed) {
  Prng rng(seed);
  const Bytes text = ItalianText(size, seed + 1);
  Bytes out;
  out.reserve(size + 600);
  std::size_t t = 0;
  while (out.size() < size) {
    const std::uint32_t r = rng.Below(10);
    if (r < 6) {
      const std::size_t n = 1 + rng.Below(200);
      for (std::size_t i = 0; i < n && t < text.size(); ++i) out.push_back(text[t++]);
      if (t >= text.size()) t = 0;
    } else if (r < 8) {
      const std::size_t n = 1 + rng.Below(40);
      for (std::size_t i = 0; i < n; ++i) out.push_back(static_cast<std::uint8_t>(rng.Next() >> 24));
    } else if (!out.empty()) {
      // A copy from up to 40,000 bytes back (beyond the window at times).
      const std::size_t back = 1 + rng.Below(static_cast<std::uint32_t>(std::min<std::size_t>(out.size(), 40000)));
      const std::size_t n = 3 + rng.Below(300);
      const std::size_t from = out.size() - back;
      for (std::size_t i = 0; i < n; ++i) out.push_back(out[from + i]);
    }
  }
  out.resize(size);
  return out;
}

Bytes FontFile() {
  std::ifstream in("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Sample {
  std::string name;
  Bytes data;
};

std::vector<Sample> Corpus() {
  std::vector<Sample> corpus;
  corpus.push_back({"empty", {}});
  corpus.push_back({"one", {0x41}});
  corpus.push_back({"two", {0x41, 0x41}});
  corpus.push_back({"four", {0x61, 0x61, 0x61, 0x61}});
  corpus.push_back({"text5", ItalianText(5, 11)});
  corpus.push_back({"text100", ItalianText(100, 12)});
  corpus.push_back({"text2k", ItalianText(2048, 13)});
  corpus.push_back({"text33k", ItalianText(33000, 14)});
  corpus.push_back({"text100k", ItalianText(100000, 15)});
  corpus.push_back({"text300k", ItalianText(300000, 16)});
  corpus.push_back({"page300", PageContent(300, 21)});
  corpus.push_back({"page8k", PageContent(8192, 22)});
  corpus.push_back({"page70k", PageContent(70000, 23)});
  corpus.push_back({"page250k", PageContent(250000, 24)});
  const Bytes font = FontFile();
  corpus.push_back({"font40k", Bytes(font.begin(), font.begin() + std::min<std::size_t>(font.size(), 40000))});
  corpus.push_back({"font300k", Bytes(font.begin(), font.begin() + std::min<std::size_t>(font.size(), 300000))});
  corpus.push_back({"fontfull", font});
  corpus.push_back({"random3", RandomBytes(3, 31)});
  corpus.push_back({"random1k", RandomBytes(1000, 32)});
  corpus.push_back({"random70k", RandomBytes(70000, 33)});
  corpus.push_back({"random200k", RandomBytes(200000, 34)});
  corpus.push_back({"runs1k", Runs(1000, 41)});
  corpus.push_back({"runs100k", Runs(100000, 42)});
  corpus.push_back({"zeros300k", Bytes(300000, 0)});
  corpus.push_back({"mixed5k", Mixed(5000, 51)});
  corpus.push_back({"mixed120k", Mixed(120000, 52)});
  return corpus;
}

struct Golden {
  const char* name;
  int quality;
  std::size_t length;
  const char* md5;
};

// Recorded from the encoder: name, quality, output length, MD5 of the output.
const Golden kGolden[] = {
    {"empty", 0, 8, "8536dc0f82594ef12854b017bd6f4ada"},
    {"empty", 1, 8, "8536dc0f82594ef12854b017bd6f4ada"},
    {"empty", 2, 8, "8536dc0f82594ef12854b017bd6f4ada"},
    {"empty", 3, 8, "8536dc0f82594ef12854b017bd6f4ada"},
    {"one", 0, 9, "e300c8e6ef4cd548bd3d160b20bdb8b0"},
    {"one", 1, 9, "e300c8e6ef4cd548bd3d160b20bdb8b0"},
    {"one", 2, 9, "e300c8e6ef4cd548bd3d160b20bdb8b0"},
    {"one", 3, 9, "e300c8e6ef4cd548bd3d160b20bdb8b0"},
    {"two", 0, 10, "091e81c9b3c6c6b3e5e09bf0109b6252"},
    {"two", 1, 10, "091e81c9b3c6c6b3e5e09bf0109b6252"},
    {"two", 2, 10, "091e81c9b3c6c6b3e5e09bf0109b6252"},
    {"two", 3, 10, "091e81c9b3c6c6b3e5e09bf0109b6252"},
    {"four", 0, 12, "8840adfc1305e1ef1f12b3759eabf9d4"},
    {"four", 1, 12, "8840adfc1305e1ef1f12b3759eabf9d4"},
    {"four", 2, 12, "8840adfc1305e1ef1f12b3759eabf9d4"},
    {"four", 3, 12, "8840adfc1305e1ef1f12b3759eabf9d4"},
    {"text5", 0, 13, "399c6983c47543453d8efb4cf7cbe4df"},
    {"text5", 1, 13, "399c6983c47543453d8efb4cf7cbe4df"},
    {"text5", 2, 13, "399c6983c47543453d8efb4cf7cbe4df"},
    {"text5", 3, 13, "399c6983c47543453d8efb4cf7cbe4df"},
    {"text100", 0, 84, "58189945ed9486bf998631a3232c3f58"},
    {"text100", 1, 84, "58189945ed9486bf998631a3232c3f58"},
    {"text100", 2, 84, "58189945ed9486bf998631a3232c3f58"},
    {"text100", 3, 84, "58189945ed9486bf998631a3232c3f58"},
    {"text2k", 0, 754, "4ab3af7b8f70d5ee11e78bdbd84e68eb"},
    {"text2k", 1, 742, "a8cae6a63d367808273c31efb41ba701"},
    {"text2k", 2, 742, "a8cae6a63d367808273c31efb41ba701"},
    {"text2k", 3, 742, "a8cae6a63d367808273c31efb41ba701"},
    {"text33k", 0, 9191, "390e0592a4161011820383f9ff77548e"},
    {"text33k", 1, 8516, "a4b300d9ac8ca26c5850c5186104f1de"},
    {"text33k", 2, 8374, "7a079947fb4ef47f681a49314ee8d948"},
    {"text33k", 3, 8361, "e42bc678f1e5ad81d8f2498ea5eaf488"},
    {"text100k", 0, 27319, "4b8e3a8314a928f3aac20f6db6937cf6"},
    {"text100k", 1, 24815, "77c9a301bcaa887ffc9a1795cd3207ae"},
    {"text100k", 2, 23525, "c7798bfed86d0315e6f9bc93f2dd6ffc"},
    {"text100k", 3, 23399, "1dc65c904391dacebdd79c2a64f6dcc8"},
    {"text300k", 0, 81118, "d1fd3ee47a9deeb8ba098b3a24036d24"},
    {"text300k", 1, 72787, "2a7443cf2440b95ea53477ca032e49f5"},
    {"text300k", 2, 67919, "fde50acfa2992a25cad801251ed4b435"},
    {"text300k", 3, 67461, "c050205ccf406dbf1c059a167bac18cf"},
    {"page300", 0, 190, "f1e2594adb0fed7e378566b27c3a4502"},
    {"page300", 1, 190, "f1e2594adb0fed7e378566b27c3a4502"},
    {"page300", 2, 190, "f1e2594adb0fed7e378566b27c3a4502"},
    {"page300", 3, 190, "f1e2594adb0fed7e378566b27c3a4502"},
    {"page8k", 0, 2866, "dd303963341912a99a26b62d2227f705"},
    {"page8k", 1, 2785, "74c7a797fc93fcfabd3984ecc7b79c1c"},
    {"page8k", 2, 2780, "57f8bcac0c09322af9efbb8726f3a90a"},
    {"page8k", 3, 2776, "c218a995e1bef42904d83f898d32dbc1"},
    {"page70k", 0, 22791, "6b96bfdc59b98fdf4137c176c19afeac"},
    {"page70k", 1, 21707, "054d91265dd16abc162f1154d3efaf19"},
    {"page70k", 2, 21355, "6cdb0390448e3860b03a5cc9518beff5"},
    {"page70k", 3, 21183, "e2bd6a000a6fc940453fe2e3f27adb31"},
    {"page250k", 0, 80151, "088dbfa62d85d0c9bc650b562d82771c"},
    {"page250k", 1, 75206, "c2690e246ee90f56310c3cd8be180558"},
    {"page250k", 2, 73515, "a2d24b9a4eea74ad3873619343222135"},
    {"page250k", 3, 72650, "d0b029935204ca5e3404c1e9282626b4"},
    {"font40k", 0, 13421, "d863c891ad6fd806347d96a9ee5467e4"},
    {"font40k", 1, 13060, "e89c6eab1cb12239827ea4c63368cfcc"},
    {"font40k", 2, 12931, "9705a44eba6b2e096175964c0f311053"},
    {"font40k", 3, 12867, "29806969331ca9f8fdb76caed7e8af40"},
    {"font300k", 0, 180079, "ed5e2a94d9ff8c87ee7aa5a3965c2bd6"},
    {"font300k", 1, 177485, "ab8cee82cc031ca8278b2e307bc88509"},
    {"font300k", 2, 176943, "b05d9816bdbdd8dac4f13ebe083ce28c"},
    {"font300k", 3, 176803, "47c62f530a03ebcec7d966edccd12750"},
    {"fontfull", 0, 400067, "1995d6780ff423dae027af165930d99c"},
    {"fontfull", 1, 393571, "1cd71d0bc15dede088edc009ff7fc35f"},
    {"fontfull", 2, 392399, "e6ccaae215be5440fe828cb2575e8c76"},
    {"fontfull", 3, 391921, "599d13513be9964722e8b44b64bbb9dd"},
    {"random3", 0, 11, "3dbc4489981f9f79696a60307ba347ff"},
    {"random3", 1, 11, "3dbc4489981f9f79696a60307ba347ff"},
    {"random3", 2, 11, "3dbc4489981f9f79696a60307ba347ff"},
    {"random3", 3, 11, "3dbc4489981f9f79696a60307ba347ff"},
    {"random1k", 0, 1011, "c98ad6f973e59da20453cee7f2f7f0c7"},
    {"random1k", 1, 1011, "c98ad6f973e59da20453cee7f2f7f0c7"},
    {"random1k", 2, 1011, "c98ad6f973e59da20453cee7f2f7f0c7"},
    {"random1k", 3, 1011, "c98ad6f973e59da20453cee7f2f7f0c7"},
    {"random70k", 0, 70016, "b625e535d3c9e9524daeed90bb53fd04"},
    {"random70k", 1, 70016, "b625e535d3c9e9524daeed90bb53fd04"},
    {"random70k", 2, 70016, "b625e535d3c9e9524daeed90bb53fd04"},
    {"random70k", 3, 70016, "b625e535d3c9e9524daeed90bb53fd04"},
    {"random200k", 0, 200026, "f764d489c1c0294a158eb14e9a02f61e"},
    {"random200k", 1, 200026, "f764d489c1c0294a158eb14e9a02f61e"},
    {"random200k", 2, 200026, "f764d489c1c0294a158eb14e9a02f61e"},
    {"random200k", 3, 200026, "f764d489c1c0294a158eb14e9a02f61e"},
    {"runs1k", 0, 31, "36e16803578d34d29cf7651d03d8d4a4"},
    {"runs1k", 1, 32, "3d2b594d7b3a7847f951a1c1a24e9ac4"},
    {"runs1k", 2, 32, "1c29b324b111d302e9d10d63ea14d1f0"},
    {"runs1k", 3, 32, "1c29b324b111d302e9d10d63ea14d1f0"},
    {"runs100k", 0, 2117, "398750952131517cfebd96fb51a11167"},
    {"runs100k", 1, 2146, "e38abd85cbe1c1cd42404531a4d03ed8"},
    {"runs100k", 2, 2057, "cf55ebe040b50d4131e7d1b14304e60d"},
    {"runs100k", 3, 1940, "3ff528938d19450e992be6c62853008c"},
    {"zeros300k", 0, 313, "c4c9e54ac7c0742b2c9472fd395669ae"},
    {"zeros300k", 1, 313, "c4c9e54ac7c0742b2c9472fd395669ae"},
    {"zeros300k", 2, 313, "c4c9e54ac7c0742b2c9472fd395669ae"},
    {"zeros300k", 3, 313, "c4c9e54ac7c0742b2c9472fd395669ae"},
    {"mixed5k", 0, 1524, "9545e5c0a72f472062addc813f5c4710"},
    {"mixed5k", 1, 1502, "c832ef2ba3fb1188bd3ee0abd3c66b06"},
    {"mixed5k", 2, 1491, "b0501207a008f2697505d157e5622b28"},
    {"mixed5k", 3, 1491, "b0501207a008f2697505d157e5622b28"},
    {"mixed120k", 0, 31978, "148e5c505799eed0df7b77e8d4490aab"},
    {"mixed120k", 1, 28942, "8c540042ea9622c033052415e4546ce6"},
    {"mixed120k", 2, 27573, "625a1cea8275238140a2dd910637d2e4"},
    {"mixed120k", 3, 27481, "7f6048e900ccb333cbe39fad10367de2"},
};

std::string Hex(const pdf::Md5Digest& digest) {
  static const char kDigits[] = "0123456789abcdef";
  std::string s;
  for (std::uint8_t b : digest) {
    s += kDigits[b >> 4];
    s += kDigits[b & 15];
  }
  return s;
}

TEST(DeflateGolden, FontFileIsPresent) {
  ASSERT_GT(FontFile().size(), 300000u) << "DejaVuSans.ttf (fonts-dejavu-core) is needed by the corpus";
}

TEST(DeflateGolden, EveryOutputByteAsRecorded) {
  const std::vector<Sample> corpus = Corpus();
  std::size_t checked = 0;
  for (const Sample& sample : corpus) {
    for (int quality = 0; quality <= 3; ++quality) {
      const Bytes out = pdf::DeflateEncode(sample.data, quality);
      const std::string md5 = Hex(pdf::Md5(out));
      const Golden* expected = nullptr;
      for (const Golden& g : kGolden)
        if (sample.name == g.name && g.quality == quality) expected = &g;
      const std::string actual = "{\"" + sample.name + "\", " + std::to_string(quality) + ", " +
                                 std::to_string(out.size()) + ", \"" + md5 + "\"},";
      if (expected == nullptr) {
        ADD_FAILURE() << "no recorded value; actual: " << actual;
        continue;
      }
      EXPECT_EQ(out.size(), expected->length) << actual;
      EXPECT_EQ(md5, expected->md5) << actual;
      ++checked;
    }
  }
  EXPECT_EQ(checked, sizeof kGolden / sizeof kGolden[0]);
}

}  // namespace
