#include "core/model/model_copy.h"

#include "core/generators/person_gens.h"
#include "core/model/property.h"

namespace kelvast {

void CopyProperties(const TPersistent& source, TPersistent& target) {
  // Held objects are reached through non-const getters; nothing of the source is changed.
  auto& from = const_cast<TPersistent&>(source);
  for (const TPropInfo& p : source.Props().Items) {
    switch (p.Kind) {
      case TPropKind::Integer:
      case TPropKind::Boolean:
      case TPropKind::Enum:
        p.SetInt(target, p.GetInt(source));
        break;
      case TPropKind::Float:
        p.SetFloat(target, p.GetFloat(source));
        break;
      case TPropKind::Text:
      case TPropKind::Charset:
        p.SetText(target, p.GetText(source));
        break;
      case TPropKind::Strings:
        p.SetStrings(target, p.GetStrings(source));
        break;
      case TPropKind::Object:
        // An item's ColType comes before its Param, so the target already holds a parameter
        // object of the source's class.
        if (TPersistent* child = p.GetObject(from))
          if (TPersistent* into = p.GetObject(target)) CopyProperties(*child, *into);
        break;
      case TPropKind::Collection: {
        auto* items = dynamic_cast<TPersistentCollection*>(p.GetObject(from));
        auto* into = dynamic_cast<TPersistentCollection*>(p.GetObject(target));
        if (!items || !into) break;
        into->Clear();
        for (int i = 0; i < items->Count(); ++i) CopyProperties(items->ItemAt(i), into->AddItem());
        break;
      }
    }
  }
}

std::unique_ptr<TGenModel> CopyModel(const TGenModel& model) {
  auto copy = std::make_unique<TGenModel>();
  // Title generators show and edit the titles of the current model. The copy's titles are copied
  // first and the copy is current while its generators are filled, so they read and write the
  // copy's own titles, whatever model is current outside.
  CopyProperties(model.CurrentSex(), copy->CurrentSex());
  TCurrentModelScope current(copy.get());
  CopyProperties(model, *copy);
  // A full name's own first-name and last-name settings are no stored properties, yet they shape
  // its values.
  for (int i = 0; i < model.Cols().Count(); ++i)
    if (auto* full = dynamic_cast<const TCPFirstLastName*>(&model.Cols()[i].Param())) {
      auto& into = dynamic_cast<TCPFirstLastName&>(copy->Cols()[i].Param());
      CopyProperties(full->FirstName(), into.FirstName());
      CopyProperties(full->LastName(), into.LastName());
    }
  copy->SetModified(model.Modified());
  return copy;
}

}  // namespace kelvast
