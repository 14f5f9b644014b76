#include "app/shell/form_registry.h"

#include <map>

namespace sevrina {
namespace {

std::map<EditingForm, FormOpener>& openers() {
  static std::map<EditingForm, FormOpener> table;
  return table;
}

FormOpener& menu_opener() {
  static FormOpener opener;
  return opener;
}

}  // namespace

void register_form(EditingForm form, FormOpener opener) { openers()[form] = std::move(opener); }

bool show_form(EditingForm form) {
  auto it = openers().find(form);
  if (it == openers().end() || !it->second) return false;
  it->second();
  return true;
}

void register_menu(FormOpener opener) { menu_opener() = std::move(opener); }

bool show_menu() {
  if (!menu_opener()) return false;
  menu_opener()();
  return true;
}

}  // namespace sevrina
