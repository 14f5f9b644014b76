// Placeholders until the frame and the declaration and application
// documents land; the helper that writes them deletes this file.
#include "app/documents/crea_file.h"

namespace sevrina {
bool crea_atto_notorio(const std::string&, bool) { return false; }
bool crea_sevrina_condomini(const std::string&, bool) { return false; }
bool crea_sevrina_proprietari(const std::string&, bool) { return false; }
}  // namespace sevrina
