#include "app/shell/intro.h"

#include "app/shell/document_services.h"
#include "app/shell/final_check.h"
#include "app/shell/form_helpers.h"
#include "app/shell/form_registry.h"
#include "app/shell/help_forms.h"
#include "app/shell/intro_images.h"
#include "app/shell/store.h"
#include "platform/text/cp1252.h"

namespace sevrina {

using namespace cp1252::literals;

namespace {

forms::FontSpec sans_bold(float size) {
  forms::FontSpec f;
  f.Name = "MS Sans Serif";
  f.Size = size;
  f.Bold = true;
  return f;
}

constexpr const char* kDomandaCondominio =
    "La sevrina già è stata creata per un proprietario (o Delegato del Proprietario/i), sei sicuro di "
    "volerla modificare con una per condominii ?";
constexpr const char* kDomandaProprietario =
    "La sevrina già è stata creata per un condominio, sei sicuro di volerla modificare con una per un "
    "proprietario (o Delegato del Proprietario/i) ?";

}  // namespace

Intro::Intro(forms::Runtime& rt) : Form(rt, "Intro") {
  SetCaption("Intro");
  SetClientSize(11880, 8190);
  SetFont(sans_bold(8.25f));

  Picture1.Move(960, 360, 1185, 1170);
  Picture1.SetPicture(std::string(emblema_comune()));
  Picture1.SetTabStop(false);
  Picture2.Move(9240, 720, 1350, 705);
  Picture2.SetPicture(std::string(logo_progetto()));
  Picture2.SetTabStop(false);

  Label1.SetCaption("PROGETTO ORTESA 3");
  Label1.SetFont(sans_bold(18));
  Label1.SetAlignment(forms::Alignment::Center);
  Label1.Move(4080, 1680, 4020, 435);

  Label2.SetCaption(u8"AVVISO PUBBLICO DEL COMUNE DI VARERI DEL 1° FEBBRAIO 2008"_w1252);
  Label2.SetFont(sans_bold(13.5f));
  Label2.SetAlignment(forms::Alignment::Center);
  Label2.Move(1200, 2760, 9825, 360);

  Frame1.SetBorderStyle(1);
  Frame1.Move(2640, 3720, 6855, 2535);

  const char* scelte[] = {"Sevrina tipo - per i condominii", "Sevrina tipo - per proprietari o comproprietari",
                          "Dichiarazioni sostitutive atto Notorio", "Quadro Economico"};
  const float larghezze[] = {4215, 6015, 4695, 4695};
  for (int i = 0; i < 4; ++i) {
    auto& o = Option1.Add(i);
    o.SetContainer(Frame1);
    o.SetCaption(scelte[i]);
    o.SetFont(sans_bold(12));
    o.Move(360, 480 + 480 * static_cast<float>(i), larghezze[i], 300);
    o.SetTabIndex(i);
  }

  const char* pulsanti[] = {"Stampa Dati", "Aiuto", "Prosegui"};
  const float sinistra[] = {360, 4920, 9480};
  for (int i = 0; i < 3; ++i) {
    auto& b = Command1.Add(i);
    b.SetCaption(pulsanti[i]);
    b.SetFont(sans_bold(12));
    b.Move(sinistra[i], 7200, 2055, 735);
    b.SetTabIndex(4 + i);
  }

  Command1.OnClick([this](int Index) { Command1_Click(Index); });
}

void Intro::Form_Load() {
  centra_form(*this);
  for (auto& o : Option1) o.SetValue(false);
}

void Intro::Command1_Click(int Index) {
  switch (Index) {
    case 0: {
      // "Stampa Dati": the final check; the output step when it passes.
      std::optional<std::string> messaggio;
      try {
        messaggio = stampa_dati();
      } catch (const ErroreFileDati& e) {
        MsgBox(e.messaggio(), forms::MsgButtons::OK, forms::MsgIcon::Critical);
        return;
      }
      if (messaggio) {
        MsgBox(*messaggio);
      } else {
        document_services().crea_sevrine();
      }
      break;
    }
    case 1:
      mostra_help<Help_intro>(App());
      break;
    case 2:
      prosegui();
      break;
    default:
      break;
  }
}

void Intro::prosegui() {
  forms::Runtime& app = App();
  // Closes the menu and opens the editing form. Should no form be registered
  // under that name (a program built without it), the menu comes back
  // rather than the program ending with no window.
  auto apri = [this, &app](EditingForm form) {
    Unload();
    if (!show_form(form)) {
      mostra_intro(app);
      app.MsgBox(u8"Questo modulo non è disponibile."_w1252);
    }
  };
  auto tipo_salvato = [this](std::string& tipo) {
    try {
      tipo = maiuscole(togli_spazi(leggi_dato("TIPO_RICHIEDENTE")));
      return true;
    } catch (const ErroreFileDati& e) {
      MsgBox(e.messaggio(), forms::MsgButtons::OK, forms::MsgIcon::Critical);
      return false;
    }
  };
  auto sovrascrivere = [this](const char* domanda) {
    return MsgBox(cp1252::from_utf8(domanda), forms::MsgButtons::YesNo, forms::MsgIcon::None, "Sovrascrivere") ==
           forms::MsgResult::Yes;
  };

  if (Option1[0].Value()) {
    std::string tipo;
    if (!tipo_salvato(tipo)) return;
    if (tipo.find("PROPRIETARIO") != std::string::npos && !sovrascrivere(kDomandaCondominio)) return;
    apri(EditingForm::SevrinaCondomini);
  } else if (Option1[1].Value()) {
    std::string tipo;
    if (!tipo_salvato(tipo)) return;
    if (!tipo.empty() && tipo.find("PROPRIETARIO") == std::string::npos && !sovrascrivere(kDomandaProprietario)) {
      return;
    }
    apri(EditingForm::SevrinaProprietari);
  } else if (Option1[2].Value()) {
    if (esiste_file(percorso_file_dati())) {
      apri(EditingForm::AttoNotorio);
    } else {
      MsgBox("Per riempire l'atto notorio bisogna riempire prima la sevrina!");
    }
  } else if (Option1[3].Value()) {
    if (esiste_file(percorso_file_dati())) {
      apri(EditingForm::QuadroEconomico);
    } else {
      MsgBox("Per riempire il quadro economico bisogna riempire prima la sevrina!");
    }
  } else {
    MsgBox("Deve selezionare una scelta!");
  }
}

void register_intro(forms::Runtime& rt) {
  register_menu([&rt] { mostra_intro(rt); });
}

void mostra_intro(forms::Runtime& rt) { rt.Load<Intro>()->Show(forms::ShowMode::Modeless); }

}  // namespace sevrina
