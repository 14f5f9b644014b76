#pragma once
// What the editing forms and the final check ask of document generation:
// the four generators and the output-step form. The documents library
// installs the real implementation at start-up; tests install fakes.

#include <string>

namespace sevrina {

class DocumentServices {
 public:
  virtual ~DocumentServices() = default;

  // Each generator reads the data file itself and writes its document to
  // `percorso`, opening it in the viewer when `apri` is true. Failures are
  // shown to the user by the generator; the result says whether the file was
  // written (the forms ignore it, the output step relies on it).
  virtual bool crea_sevrina_condomini(const std::string& percorso, bool apri) = 0;
  virtual bool crea_sevrina_proprietari(const std::string& percorso, bool apri) = 0;
  virtual bool crea_atto_notorio(const std::string& percorso, bool apri) = 0;
  virtual bool crea_quadro_economico(const std::string& percorso, bool apri) = 0;

  // Shows the output-step form modally; returns when it closes.
  virtual void crea_sevrine() = 0;
};

// The installed services; a do-nothing implementation until one is set.
DocumentServices& document_services();
void set_document_services(DocumentServices* services);

}  // namespace sevrina
