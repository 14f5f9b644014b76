#include "app/documents/crea_file.h"
#include "app/shell/document_services.h"

namespace sevrina {
namespace {

class Generators final : public DocumentServices {
 public:
  bool crea_sevrina_condomini(const std::string& p, bool a) override { return sevrina::crea_sevrina_condomini(p, a); }
  bool crea_sevrina_proprietari(const std::string& p, bool a) override { return sevrina::crea_sevrina_proprietari(p, a); }
  bool crea_atto_notorio(const std::string& p, bool a) override { return sevrina::crea_atto_notorio(p, a); }
  bool crea_quadro_economico(const std::string& p, bool a) override { return sevrina::crea_quadro_economico(p, a); }
  void crea_sevrine() override { sevrina::crea_sevrine(); }
};

}  // namespace

void install_document_services() {
  static Generators generators;
  set_document_services(&generators);
}

}  // namespace sevrina
