// Placeholders until the cost-table document and the output step land; the
// helper that writes them deletes this file.
#include "app/documents/crea_file.h"

namespace sevrina {
bool crea_quadro_economico(const std::string&, bool) { return false; }
void crea_sevrine() {}
}  // namespace sevrina
