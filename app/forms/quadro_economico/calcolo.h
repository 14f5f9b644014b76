#pragma once
// The cost table's computation: from the amounts typed into the yellow cells,
// the premium criteria, the volume band and the maintenance-booklet choice,
// the VAT and gross amounts, the category check and shares, the admitted
// extra costs, the intervention total and the contribution.
//
// The amounts live only as the texts of the form's fields. Every step reads
// the fields it needs as numbers and writes its results back as formatted
// text; a later step reads that text again, so every value it uses is the
// rounded value the user sees. The steps work on a Foglio: the form's own
// fields (whose writes raise change events, which chain the steps) or a plain
// sheet of texts (one pass of the steps, for tests and checks).

#include <array>
#include <string>
#include <string_view>

namespace sevrina::quadro {

// The field arrays the computation reads and writes.
enum class Serie { Text2, Text3, Text4, Text5, Text6, Text7, Text8 };

// Number of elements of each array: Text2..Text4 have 4, Text5 and Text6 8,
// Text7 4, Text8 14.
int elementi(Serie s);

class Foglio {
 public:
  virtual ~Foglio() = default;
  virtual std::string testo(Serie serie, int indice) const = 0;
  // Writes a field's text. On the form a text that differs raises the
  // field's change event at once, nested in the write.
  virtual void scrivi(Serie serie, int indice, const std::string& testo) = 0;
  // Check1(i) ticked (value 1; a grey box does not count).
  virtual bool criterio(int indice) const = 0;
  // Option1(i) and Option2(i) selected.
  virtual bool fascia(int indice) const = 0;
  virtual bool libretto(int indice) const = 0;
};

// Weights of the premium criteria A to F, in percentage points.
inline constexpr std::array<int, 6> kPesiPremiali{5, 3, 3, 2, 2, 2};

inline constexpr double kLimiteInferiore = 120000.0;  // volume up to 30.000 m3, or no band
inline constexpr double kLimiteSuperiore = 150000.0;  // volume above 30.000 m3
inline constexpr double kMassimoAccessorio = 10000.0;
inline constexpr int kMassimoPremiale = 7;

inline constexpr std::string_view kVerificareImporti = "Verificare gli importi";

// A field's text as a number: blank is 0; "." (thousands) is ignored and ","
// is the decimal separator. A text that does not read as a number (it can
// only get there by pasting) counts as 0.
double leggi_importo(std::string_view testo);

// An amount as the computed fields show it: 2 decimals, "." between
// thousands; `valore` receives the rounded number.
std::string importo(double& valore);

// Step 1, the net, VAT and gross amounts of row a, then check_campo5 and
// calcola_campi_otto (the body of the net amounts' change handler, without
// the modified flag).
void importi_netti(Foglio& f);

// Step 2: the categories against the net total, and their shares.
void check_campo5(Foglio& f);

// Step 3: the admitted extra costs, the intervention total and the base.
void calcola_campi_otto(Foglio& f);

// Step 4: premium, accessory, base again, admitted contribution and its
// percentage of the intervention total.
void calcola_CONTRIBUTO_AMMESSO_AL_FINANZIAMENTO(Foglio& f);

// One pass of steps 1, 2, 3 and 4 in this order.
void ricalcola(Foglio& f);

// A sheet of plain texts: writes raise nothing. The inputs are set directly.
class FoglioSemplice : public Foglio {
 public:
  FoglioSemplice();
  std::string testo(Serie serie, int indice) const override;
  void scrivi(Serie serie, int indice, const std::string& testo) override;
  bool criterio(int indice) const override { return criteri[static_cast<std::size_t>(indice)]; }
  bool fascia(int indice) const override { return fasce[static_cast<std::size_t>(indice)]; }
  bool libretto(int indice) const override { return libretti[static_cast<std::size_t>(indice)]; }

  std::array<bool, 6> criteri{};
  std::array<bool, 2> fasce{};
  std::array<bool, 2> libretti{};

 private:
  std::array<std::array<std::string, 14>, 7> testi_;
};

}  // namespace sevrina::quadro
