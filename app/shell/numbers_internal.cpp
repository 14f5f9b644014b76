#include "app/shell/numbers_internal.h"

#include <bit>
#include <cmath>
#include <vector>

namespace sevrina::numeri {
namespace {

// An unsigned integer of any size, 32-bit limbs, least significant first.
class Grande {
 public:
  bool zero() const { return limb_.empty(); }

  void moltiplica(std::uint32_t m, std::uint32_t somma = 0) {
    std::uint64_t riporto = somma;
    for (auto& l : limb_) {
      const std::uint64_t t = std::uint64_t{l} * m + riporto;
      l = static_cast<std::uint32_t>(t);
      riporto = t >> 32;
    }
    if (riporto) limb_.push_back(static_cast<std::uint32_t>(riporto));
  }

  // Divides in place; returns the remainder.
  std::uint32_t dividi(std::uint32_t d) {
    std::uint64_t resto = 0;
    for (std::size_t i = limb_.size(); i-- > 0;) {
      const std::uint64_t t = (resto << 32) | limb_[i];
      limb_[i] = static_cast<std::uint32_t>(t / d);
      resto = t % d;
    }
    normalizza();
    return static_cast<std::uint32_t>(resto);
  }

  void sposta_sinistra(std::size_t bit) {
    if (zero() || bit == 0) return;
    const std::size_t parole = bit / 32, resto = bit % 32;
    if (resto) {
      std::uint32_t riporto = 0;
      for (auto& l : limb_) {
        const std::uint32_t nuovo = l >> (32 - resto);
        l = (l << resto) | riporto;
        riporto = nuovo;
      }
      if (riporto) limb_.push_back(riporto);
    }
    limb_.insert(limb_.begin(), parole, 0);
  }

  // Shifts right; true when a 1 bit was shifted out.
  bool sposta_destra(std::size_t bit) {
    const std::size_t parole = bit / 32, resto = bit % 32;
    bool perso = false;
    for (std::size_t i = 0; i < parole && i < limb_.size(); ++i) perso |= limb_[i] != 0;
    if (parole >= limb_.size()) {
      limb_.clear();
      return perso;
    }
    limb_.erase(limb_.begin(), limb_.begin() + static_cast<std::ptrdiff_t>(parole));
    if (resto) {
      perso |= (limb_[0] & ((1u << resto) - 1)) != 0;
      for (std::size_t i = 0; i < limb_.size(); ++i) {
        const std::uint32_t alto = i + 1 < limb_.size() ? limb_[i + 1] << (32 - resto) : 0;
        limb_[i] = (limb_[i] >> resto) | alto;
      }
    }
    normalizza();
    return perso;
  }

  std::size_t bit() const {
    if (zero()) return 0;
    return (limb_.size() - 1) * 32 + static_cast<std::size_t>(std::bit_width(limb_.back()));
  }

  std::uint64_t u64() const {
    std::uint64_t v = 0;
    if (!limb_.empty()) v = limb_[0];
    if (limb_.size() > 1) v |= std::uint64_t{limb_[1]} << 32;
    return v;
  }

  std::string decimale() const {
    if (zero()) return "0";
    Grande copia = *this;
    std::string out;
    while (!copia.zero()) {
      std::uint32_t blocco = copia.dividi(1000000000u);
      for (int i = 0; i < 9; ++i) {
        out.push_back(static_cast<char>('0' + blocco % 10));
        blocco /= 10;
      }
    }
    while (out.size() > 1 && out.back() == '0') out.pop_back();
    return {out.rbegin(), out.rend()};
  }

  static Grande da_cifre(std::string_view cifre) {
    Grande g;
    std::size_t i = 0;
    while (i < cifre.size()) {
      std::uint32_t blocco = 0, scala = 1;
      for (int n = 0; n < 9 && i < cifre.size(); ++n, ++i) {
        blocco = blocco * 10 + static_cast<std::uint32_t>(cifre[i] - '0');
        scala *= 10;
      }
      g.moltiplica(scala, blocco);
    }
    g.normalizza();
    return g;
  }

  static Grande da_u64(std::uint64_t v) {
    Grande g;
    while (v) {
      g.limb_.push_back(static_cast<std::uint32_t>(v));
      v >>= 32;
    }
    return g;
  }

 private:
  void normalizza() {
    while (!limb_.empty() && limb_.back() == 0) limb_.pop_back();
  }
  std::vector<std::uint32_t> limb_;
};

// Digits kept for the conversion to double: any double's halfway points have
// at most 767 significant digits, so 800 and a flag for the rest decide every
// rounding exactly.
constexpr std::size_t kCifreSignificative = 800;

// Adds one to a decimal digit string, growing it when needed.
void incrementa(std::string& cifre) {
  for (std::size_t i = cifre.size(); i-- > 0;) {
    if (cifre[i] != '9') {
      ++cifre[i];
      return;
    }
    cifre[i] = '0';
  }
  cifre.insert(cifre.begin(), '1');
}

bool tutti_zero(std::string_view s) { return s.find_first_not_of('0') == std::string_view::npos; }

}  // namespace

std::optional<double> in_double(std::string_view cifre, std::int64_t decimali, bool negativo) {
  const double zero = negativo ? -0.0 : 0.0;
  // Leading zeros carry nothing.
  const auto primo = cifre.find_first_not_of('0');
  if (primo == std::string_view::npos) return zero;
  cifre.remove_prefix(primo);
  // Digits before the decimal point: beyond 309 the value overflows; the
  // first significant digit more than 330 places after the point gives a
  // value below half the smallest double.
  const std::int64_t interi = static_cast<std::int64_t>(cifre.size()) - decimali;
  if (interi > 310) return std::nullopt;
  if (interi < -330) return zero;
  // Fast path: up to 15 digits and 22 decimals, both the digits and the
  // power of ten are exact doubles, and one IEEE division rounds correctly.
  if (cifre.size() <= 15 && decimali >= 0 && decimali <= 22) {
    static constexpr double kPotenze[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    std::uint64_t n = 0;
    for (char c : cifre) n = n * 10 + static_cast<std::uint64_t>(c - '0');
    const double v = static_cast<double>(n) / kPotenze[decimali];
    return negativo ? -v : v;
  }
  bool perso = false;
  if (cifre.size() > kCifreSignificative) {
    const std::size_t tolte = cifre.size() - kCifreSignificative;
    perso = !tutti_zero(cifre.substr(kCifreSignificative));
    cifre = cifre.substr(0, kCifreSignificative);
    decimali -= static_cast<std::int64_t>(tolte);
  }
  // With no decimals left, scale up instead (trailing digits were dropped).
  Grande x = Grande::da_cifre(cifre);
  while (decimali < 0) {
    x.moltiplica(10);
    ++decimali;
  }
  const auto l = static_cast<std::int64_t>(x.bit());
  const auto c = static_cast<std::int64_t>(std::ceil(static_cast<double>(decimali) * 3.321928094887362));
  // N = floor(x * 2^s / 10^decimali) has 57 or 58 bits.
  const std::int64_t s = 57 - l + c;
  if (s >= 0) {
    x.sposta_sinistra(static_cast<std::size_t>(s));
  } else {
    perso |= x.sposta_destra(static_cast<std::size_t>(-s));
  }
  std::int64_t resto = decimali;
  while (resto >= 9) {
    perso |= x.dividi(1000000000u) != 0;
    resto -= 9;
  }
  if (resto > 0) {
    std::uint32_t p = 1;
    for (std::int64_t i = 0; i < resto; ++i) p *= 10;
    perso |= x.dividi(p) != 0;
  }
  const std::uint64_t n = x.u64();
  const int b = std::bit_width(n);
  const std::int64_t e2 = (b - 1) - s;  // the exponent of the leading bit
  if (e2 > 1023) return std::nullopt;
  int precisione = 53;
  if (e2 < -1022) {
    const std::int64_t p = 53 - (-1022 - e2);
    if (p < 0) return zero;
    precisione = static_cast<int>(p);
  }
  const int via = b - precisione;  // >= 4
  std::uint64_t mantissa = n >> via;
  const std::uint64_t scarto = n & ((std::uint64_t{1} << via) - 1);
  const std::uint64_t meta = std::uint64_t{1} << (via - 1);
  if (scarto > meta || (scarto == meta && (perso || (mantissa & 1)))) ++mantissa;
  const double v = std::ldexp(static_cast<double>(mantissa), static_cast<int>(via - s));
  if (std::isinf(v)) return std::nullopt;
  return negativo ? -v : v;
}

Decimale esatto(double x) {
  x = std::fabs(x);
  if (x == 0) return {"0", 0};
  int esponente = 0;
  const double f = std::frexp(x, &esponente);  // x = f * 2^esponente, f in [0.5, 1)
  auto m = static_cast<std::uint64_t>(std::ldexp(f, 53));
  int e = esponente - 53;
  while (e < 0 && (m & 1) == 0) {
    m >>= 1;
    ++e;
  }
  if (e >= 0 && e <= 10) return {std::to_string(m << e), 0};  // < 2^64
  Grande g = Grande::da_u64(m);
  if (e >= 0) {
    g.sposta_sinistra(static_cast<std::size_t>(e));
    return {g.decimale(), 0};
  }
  // m * 2^e = m * 5^-e / 10^-e.
  for (int i = 0; i < -e; ++i) g.moltiplica(5);
  return {g.decimale(), -e};
}

Decimale arrotonda(const Decimale& d, int decimali, Arrotondamento modo) {
  if (decimali < 0) decimali = 0;
  Decimale r;
  r.decimali = decimali;
  if (d.decimali <= decimali) {
    r.cifre = d.cifre + std::string(static_cast<std::size_t>(decimali - d.decimali), '0');
  } else {
    const auto taglio = static_cast<std::size_t>(d.decimali - decimali);
    std::string cifre = d.cifre;
    if (cifre.size() < taglio + 1) cifre.insert(0, taglio + 1 - cifre.size(), '0');
    r.cifre = cifre.substr(0, cifre.size() - taglio);
    const std::string_view coda = std::string_view(cifre).substr(cifre.size() - taglio);
    bool su = false;
    if (coda[0] > '5') {
      su = true;
    } else if (coda[0] == '5') {
      if (modo == Arrotondamento::LontanoDaZero || !tutti_zero(coda.substr(1))) {
        su = true;
      } else {
        su = ((r.cifre.back() - '0') & 1) != 0;
      }
    }
    if (su) incrementa(r.cifre);
  }
  const auto minimo = static_cast<std::size_t>(decimali) + 1;
  if (r.cifre.size() < minimo) r.cifre.insert(0, minimo - r.cifre.size(), '0');
  // Drop leading zeros beyond the one integer digit.
  const std::size_t interi = r.cifre.size() - static_cast<std::size_t>(decimali);
  std::size_t via = 0;
  while (via + 1 < interi && r.cifre[via] == '0') ++via;
  r.cifre.erase(0, via);
  return r;
}

Decimale arrotonda_significative(const Decimale& d, int cifre) {
  const auto primo = d.cifre.find_first_not_of('0');
  if (primo == std::string::npos) return {"0", 0};
  const auto significative = static_cast<int>(d.cifre.size() - primo);
  if (significative <= cifre) return d;
  const int decimali = d.decimali - (significative - cifre);
  if (decimali >= 0) return arrotonda(d, decimali, Arrotondamento::PariPiuVicino);
  // Round at a place left of the decimal point: scale, round, scale back.
  Decimale scalato{d.cifre, d.decimali - decimali};
  Decimale r = arrotonda(scalato, 0, Arrotondamento::PariPiuVicino);
  r.cifre += std::string(static_cast<std::size_t>(-decimali), '0');
  return r;
}

}  // namespace sevrina::numeri
