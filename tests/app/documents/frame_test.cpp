// The generator frame: the data values, the identification paragraph in each
// variant and ending, the opening with its two messages, the page-break test,
// the opening in the viewer, and the document services the forms call.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <csignal>

#include <filesystem>
#include <string>
#include <vector>

#include "app/documents/crea_file.h"
#include "app/documents/frame.h"
#include "app/shell/document_services.h"
#include "platform/text/cp1252.h"
#include "tests/app/documents/doc_test_support.h"

namespace {

using namespace cp1252::literals;
using sevrina::documenti::Chiusura;
using sevrina::documenti::Dati;

// A complete applicant, with accented letters in the values.
Dati richiedente(const std::string& tipo) {
  Dati d;
  d.imposta("NOME_RICHIEDENTE", "Mario");
  d.imposta("COGNOME_RICHIEDENTE", u8"Niccolò"_w1252);
  d.imposta("COMUNE_NASCITA_RICHIEDENTE", "Napoli");
  d.imposta("PROVINCIA_NASCITA_RICHIEDENTE", "NA");
  d.imposta("DATA_NASCITA_RICHIEDENTE", "19600131");
  d.imposta("COMUNE_RICHIEDENTE", "Vareri");
  d.imposta("PROVINCIA_RICHIEDENTE", "VA");
  d.imposta("INDIRIZZO_RICHIEDENTE", "via Roma");
  d.imposta("CIVICO_RESIDENZA_RICHIEDENTE", "12");
  d.imposta("CODICE_FISCALE_RICHIEDENTE", "NCCMRA60A31F839X");
  d.imposta("COMUNE_DOMICILIO_RICHIEDENTE", "Pozzuoli");
  d.imposta("INDIRIZZO_DOMICILIO_RICHIEDENTE", u8"via Città"_w1252);
  d.imposta("CIVICO_DOMICILIO_RICHIEDENTE", "3");
  d.imposta("CAP_DOMICILIO_RICHIEDENTE", "80078");
  d.imposta("TELEFONO_DOMICILIO_RICHIEDENTE", "0811234");
  d.imposta("FAX_DOMICILIO_RICHIEDENTE", "0815678");
  d.imposta("MAIL_DOMICILIO_RICHIEDENTE", "m@x.it");
  d.imposta("INDIRIZZO_CONDOMINIO", "piazza Dante");
  d.imposta("CIVICO_CONDOMINIO", "7");
  d.imposta("CAP_CONDOMINIO", "80135");
  d.imposta("MUNICIPALITA_CONDOMINIO", "II");
  d.imposta("DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", "20080115");
  d.imposta("TIPO_RICHIEDENTE", tipo);
  return d;
}

const std::string kInizio =
    u8"Il/La sottoscritto/a Mario Niccolò nato/a a Napoli (NA) Il 31/01/1960 residente a Vareri "
    u8"(VA) "_w1252;
const std::string kMezzo =
    u8"via Roma n. 12 c.f.: NCCMRA60A31F839X domiciliato per la carica in Pozzuoli in via Città "
    u8"n. 3 80078 tel. 0811234 fax. 0815678 e-mail m@x.it in qualità di "_w1252;
const std::string kSito = u8"sito in Vareri in piazza Dante n. 7 80135 municipalità II"_w1252;

struct CasoParagrafo {
  const char* nome;
  std::string tipo;
  Chiusura chiusura;
  std::string atteso;
};

TEST(ParagrafoRichiedente, OgniVarianteEChiusura) {
  const std::vector<CasoParagrafo> casi = {
      {"condominio", "Amministratore", Chiusura::Condomini,
       kInizio + kMezzo + "amministratore del condominio " + kSito +
           " autorizzato alla presente istanza giusta delibera condominiale del 15/01/2008.\r\n"},
      {"unico proprietario", "Unico Proprietario", Chiusura::Proprietari,
       kInizio + kMezzo + "unico proprietario dello stabile " + kSito + ".\r\n"},
      {"unico proprietario in maiuscolo", "UNICO PROPRIETARIO",
       Chiusura::Proprietari, kInizio + kMezzo + "unico proprietario dello stabile " + kSito + ".\r\n"},
      {"delegato", "Delegato del Proprietario/i", Chiusura::Proprietari,
       kInizio + kMezzo + "delegato del proprietario/i dello stabile " + kSito +
           " autorizzato alla presente giusta delega che si allega in duplice copia.\r\n"},
      {"tipo vuoto, proprietari", "", Chiusura::Proprietari,
       kInizio + kMezzo + " del condominio " + kSito +
           " autorizzato alla presente giusta delega che si allega in duplice copia.\r\n"},
      {"tipo vuoto, condominio", "", Chiusura::Condomini,
       kInizio + kMezzo + " del condominio " + kSito +
           " autorizzato alla presente istanza giusta delibera condominiale del 15/01/2008.\r\n"},
      {"quadro economico", "Unico Proprietario", Chiusura::Nessuna,
       kInizio + kMezzo + "unico proprietario dello stabile " + kSito + " "},
      {"tipo accentato in minuscolo", u8"ÀMMINISTRATORE"_w1252, Chiusura::Nessuna,
       kInizio + kMezzo + u8"àmministratore del condominio "_w1252 + kSito + " "},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    EXPECT_EQ(sevrina::documenti::paragrafo_richiedente(richiedente(c.tipo), c.chiusura), c.atteso);
  }
}

TEST(ParagrafoRichiedente, DatiVuotiLascianoTuttiIPezziFissi) {
  EXPECT_EQ(sevrina::documenti::paragrafo_richiedente(Dati(), Chiusura::Nessuna),
            u8"Il/La sottoscritto/a   nato/a a  () Il  residente a  ()  n.  c.f.:  domiciliato per "
            u8"la carica in  in  n.   tel.  fax.  e-mail  in qualità di  del condominio sito in "
            u8"Vareri in  n.   municipalità  "_w1252);
  EXPECT_EQ(sevrina::documenti::paragrafo_richiedente(Dati(), Chiusura::Condomini),
            sevrina::documenti::paragrafo_richiedente(Dati(), Chiusura::Nessuna) +
                "autorizzato alla presente istanza giusta delibera condominiale del .\r\n");
}

TEST(ParagrafoRichiedente, IlCrLfDeiValoriResta) {
  Dati d = richiedente("Amministratore");
  d.imposta("INDIRIZZO_RICHIEDENTE", "via Roma\r\nscala B");
  const std::string p = sevrina::documenti::paragrafo_richiedente(d, Chiusura::Condomini);
  EXPECT_NE(p.find("via Roma\r\nscala B n. 12"), std::string::npos);
}

TEST(ParagrafoDichiarante, ConESenzaDomicilioEConIlCrLfTolto) {
  struct Caso {
    const char* nome;
    std::vector<std::pair<const char*, std::string>> modifiche;
    std::string atteso;
  };
  const std::string inizio = kInizio;
  const std::vector<Caso> casi = {
      {"con domicilio", {},
       inizio + u8"domiciliato in Pozzuoli in via Città n. 3 in qualità di amministratore del "
                u8"condominio sito in Vareri in piazza Dante n. 7."_w1252},
      {"senza domicilio", {{"COMUNE_DOMICILIO_RICHIEDENTE", ""}},
       inizio + u8"in qualità di amministratore del condominio sito in Vareri in piazza Dante n. "
                u8"7."_w1252},
      {"comune del domicilio senza via", {{"INDIRIZZO_DOMICILIO_RICHIEDENTE", ""},
                                          {"CIVICO_DOMICILIO_RICHIEDENTE", ""}},
       inizio + u8"domiciliato in Pozzuoli in  n.  in qualità di amministratore del condominio "
                u8"sito in Vareri in piazza Dante n. 7."_w1252},
      {"proprietario", {{"TIPO_RICHIEDENTE", "Delegato del Proprietario/i"}},
       inizio + u8"domiciliato in Pozzuoli in via Città n. 3 in qualità di delegato del "
                u8"proprietario/i dello stabile sito in Vareri in piazza Dante n. 7."_w1252},
      {"CR LF tolti", {{"INDIRIZZO_CONDOMINIO", "piazza\r\nDante"}, {"NOME_RICHIEDENTE", "Ma\r\n\r\nrio"}},
       u8"Il/La sottoscritto/a Mario Niccolò nato/a a Napoli (NA) Il 31/01/1960 residente a "
       u8"Vareri (VA) domiciliato in Pozzuoli in via Città n. 3 in qualità di amministratore del "
       u8"condominio sito in Vareri in piazzaDante n. 7."_w1252},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    Dati d = richiedente("Amministratore");
    for (const auto& [k, v] : c.modifiche) d.imposta(k, v);
    EXPECT_EQ(sevrina::documenti::paragrafo_dichiarante(d), c.atteso);
  }
  EXPECT_EQ(sevrina::documenti::paragrafo_dichiarante(Dati()),
            u8"Il/La sottoscritto/a   nato/a a  () Il  residente a  () in qualità di  del "
            u8"condominio sito in Vareri in  n. ."_w1252);
}

// ---------------------------------------------------------------- the data values

TEST(DatiGeneratore, RegolaDiLettura) {
  const std::string file = doctest::data_file({
      {"  nome_richiedente ", "  Primo  "},
      {"NOME_RICHIEDENTE", "Secondo"},
      {"FLAG_A", "S"},
      {"FLAG_B", "s"},
      {"FLAG_C", " S "},
      {"FLAG_D", "SI"},
      {"IMPORTO", "150000"},
      {"IMPORTO_MEZZO", "0,125"},
      {"IMPORTO_TESTO", "abc"},
      {"PERCENTUALE", "12,5"},
      {"DATA_X", "20081231"},
      {"DATA_ZERO", "0"},
  });
  const Dati d = Dati::da_contenuto(file);
  EXPECT_EQ(d["NOME_RICHIEDENTE"], "Secondo");  // the later record wins
  EXPECT_TRUE(d.flag("FLAG_A"));
  EXPECT_FALSE(d.flag("FLAG_B"));
  EXPECT_TRUE(d.flag("FLAG_C"));  // values lose their surrounding blanks
  EXPECT_FALSE(d.flag("FLAG_D"));
  EXPECT_FALSE(d.flag("ASSENTE"));
  EXPECT_EQ(d["ASSENTE"], "");
  EXPECT_EQ(d.importo("IMPORTO"), "150.000,00");
  EXPECT_EQ(d.importo("IMPORTO_MEZZO"), "0,12");
  EXPECT_EQ(d.importo("IMPORTO_TESTO"), "0,00");
  EXPECT_EQ(d.importo("ASSENTE"), "0,00");
  EXPECT_EQ(d.importo("PERCENTUALE"), "12,50");
  EXPECT_EQ(d.data("DATA_X"), "31/12/2008");
  EXPECT_EQ(d.data("DATA_ZERO"), "");
  EXPECT_EQ(d.data("ASSENTE"), "");
}

// ---------------------------------------------------------------- opening, closing, messages

class Cornice : public doctest::DocumentTest {};

TEST_F(Cornice, FileNonScrivibileMostraIlMessaggioDelFileAperto) {
  write_data({{"ATTO_NOTORIO_A", "S"}});
  const std::string path = (dir.path() / "manca" / "bozza.pdf").string();
  for (int i = 0; i < 3; ++i) {
    ui.expect_box({u8"Il file è aperto, mi è impossibile generarlo !"_w1252, forms::MsgResult::OK,
                   std::string("Sevrina"), forms::MsgButtons::OK, forms::MsgIcon::None});
  }
  EXPECT_FALSE(sevrina::crea_atto_notorio(path, true));
  EXPECT_FALSE(sevrina::crea_sevrina_condomini(path, true));
  EXPECT_FALSE(sevrina::crea_sevrina_proprietari(path, true));
  EXPECT_EQ(ui.pending_boxes(), 0);
  EXPECT_TRUE(opened.empty());
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(Cornice, FileDatiIlleggibileMostraIlSuoMessaggio) {
  std::filesystem::create_directory(dir.path() / "DATI.DAT");
  ui.set_failure_handler([](const std::string&) {});  // the store words the message
  EXPECT_FALSE(sevrina::crea_sevrina_proprietari(out(), false));
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.boxes()[0].request.icon, forms::MsgIcon::Critical);
  EXPECT_NE(ui.boxes()[0].request.text.find("DATI.DAT"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(out()));
}

// A write that fails half-way (the file size limit reached) is no success:
// the critical message names the writer's failure, the unfinished file goes,
// and nothing is opened.
TEST_F(Cornice, ScritturaFallitaNonLasciaUnDocumentoMonco) {
  ui.set_failure_handler([](const std::string&) {});
  write_data({{"TIPO_RICHIEDENTE", "Amministratore"}});
  rlimit prima{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &prima), 0);
  auto segnale = std::signal(SIGXFSZ, SIG_IGN);
  rlimit poco = prima;
  poco.rlim_cur = 6000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &poco), 0);
  const bool scritto = sevrina::crea_sevrina_condomini(out(), true);
  setrlimit(RLIMIT_FSIZE, &prima);
  std::signal(SIGXFSZ, segnale);
  EXPECT_FALSE(scritto);
  EXPECT_FALSE(std::filesystem::exists(out()));
  EXPECT_TRUE(opened.empty());
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.boxes()[0].request.icon, forms::MsgIcon::Critical);
  EXPECT_EQ(ui.boxes()[0].request.text.rfind("PdfWriter - ", 0), 0u) << ui.boxes()[0].request.text;
}

// A device is never removed, even when writing to it failed. The test makes
// its own "always full" device node in its folder, so that a fault here can
// never remove the system's /dev/full.
TEST_F(Cornice, UnDispositivoNonVieneMaiRimosso) {
  const std::string pieno = (dir.path() / "pieno").string();
  if (mknod(pieno.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) {
    GTEST_SKIP() << "making a device node needs root";
  }
  ui.set_failure_handler([](const std::string&) {});
  EXPECT_FALSE(sevrina::crea_atto_notorio(pieno, false));
  EXPECT_TRUE(std::filesystem::exists(pieno));
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.boxes()[0].request.text, "PdfWriter - Device I/O error");
}

TEST_F(Cornice, ApreSoloSeRichiestoEMancaIlFileDatiCreandolo) {
  EXPECT_TRUE(sevrina::crea_atto_notorio(out("a.pdf"), false));
  EXPECT_TRUE(opened.empty());
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "DATI.DAT"));  // created, empty
  EXPECT_EQ(std::filesystem::file_size(dir.path() / "DATI.DAT"), 0u);
  EXPECT_TRUE(sevrina::crea_atto_notorio(out("b.pdf"), true));
  EXPECT_EQ(opened, std::vector<std::string>{out("b.pdf")});
  EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(Cornice, IServiziDeiModuliScrivonoLaBozzaEDLaAprono) {
  sevrina::install_document_services();
  write_data({{"TIPO_RICHIEDENTE", "Amministratore"}});
  const std::string bozza = (sys::program_folder() / "bozza.pdf").string();
  for (int i = 0; i < 3; ++i) {
    std::filesystem::remove(bozza);
    bool ok = i == 0   ? sevrina::document_services().crea_sevrina_condomini(bozza, true)
              : i == 1 ? sevrina::document_services().crea_sevrina_proprietari(bozza, true)
                       : sevrina::document_services().crea_atto_notorio(bozza, true);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(std::filesystem::exists(bozza));
    const doctest::Reading r = doctest::read(bozza);
    doctest::expect_sound_protected_a4(bozza, r);
  }
  EXPECT_EQ(opened.size(), 3u);
  sevrina::set_document_services(nullptr);
}

TEST_F(Cornice, IlTestDiPaginaEStretto) {
  sevrina::documenti::Modello m;
  m.numerazione = sevrina::documenti::Numerazione::Domanda;
  m.sinistro = m.destro = 3;
  m.alto = 2;
  m.basso = 1.5f;
  m.piede = "piede";
  sevrina::documenti::Documento doc(m);
  ASSERT_TRUE(doc.apri(out()));
  doc.registra_cornice();
  doc.prima_pagina();
  EXPECT_EQ(doc.pdf().GetPage(), 1);
  const float h = doc.H();
  EXPECT_NEAR(h, 26.2, 0.01);
  EXPECT_NEAR(doc.W(), 15.03, 0.01);
  doc.pdf().SetXY(0, h - 3);
  EXPECT_FALSE(doc.interruzione(3));  // exactly at the threshold stays
  EXPECT_EQ(doc.pdf().GetPage(), 1);
  doc.pdf().SetXY(0, h - 2.99f);
  EXPECT_TRUE(doc.interruzione(3));
  EXPECT_EQ(doc.pdf().GetPage(), 2);
  EXPECT_FLOAT_EQ(doc.pdf().GetY(), 0);  // the next block starts at the top
  EXPECT_FLOAT_EQ(doc.pdf().GetX(), 0);
  doc.chiudi(false);
  const doctest::Reading r = doctest::read(out());
  doctest::expect_sound_protected_a4(out(), r);
  ASSERT_EQ(r.pages, 2);
  for (int p = 0; p < 2; ++p) {
    SCOPED_TRACE(p + 1);
    const std::string c = doctest::collapse(r.text[static_cast<std::size_t>(p)]);
    EXPECT_NE(c.find("PROGETTO ORTESA 3, Avviso Pubblico Comune di Vareri " + std::to_string(p + 1)),
              std::string::npos)
        << c;
    EXPECT_NE(c.find("piede"), std::string::npos);
  }
}

}  // namespace
