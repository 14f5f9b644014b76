#pragma once
// The document generators. Each reads the data file itself, writes its
// document to `percorso` through one PdfWriter and, when `apri` is true,
// opens it in the desktop's viewer. Failures are shown to the user in
// Italian; the result says whether the document was written.

#include <string>

namespace sevrina {

bool crea_atto_notorio(const std::string& percorso, bool apri);
bool crea_sevrina_condomini(const std::string& percorso, bool apri);
bool crea_sevrina_proprietari(const std::string& percorso, bool apri);
bool crea_quadro_economico(const std::string& percorso, bool apri);

// The output-step form: shown modally, returns when it closes.
void crea_sevrine();

// Installs these generators as the document services the forms call.
void install_document_services();

}  // namespace sevrina
