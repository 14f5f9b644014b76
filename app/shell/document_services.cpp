#include "app/shell/document_services.h"

namespace sevrina {
namespace {

// Used before the documents library installs itself: writes nothing.
class NoDocuments final : public DocumentServices {
 public:
  bool crea_sevrina_condomini(const std::string&, bool) override { return false; }
  bool crea_sevrina_proprietari(const std::string&, bool) override { return false; }
  bool crea_atto_notorio(const std::string&, bool) override { return false; }
  bool crea_quadro_economico(const std::string&, bool) override { return false; }
  void crea_sevrine() override {}
};

DocumentServices*& installed() {
  static NoDocuments none;
  static DocumentServices* current = &none;
  return current;
}

}  // namespace

DocumentServices& document_services() { return *installed(); }
void set_document_services(DocumentServices* services) {
  static NoDocuments none;
  installed() = services ? services : &none;
}

}  // namespace sevrina
