// SPDX-License-Identifier: MIT
#include "core/model/model_copy.h"

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
  // The titles first: title generators show and edit their model's titles, so filling the
  // copy's generators writes the copy's own titles again, with the same values.
  CopyProperties(model.Person(), copy->Person());
  CopyProperties(model, *copy);
  // Parts' settings (a full name's first and last names) are no stored properties of their
  // generator, yet they shape its values.
  for (int i = 0; i < model.Cols().Count(); ++i) {
    const TColParams& from = model.Cols()[i].Param();
    TColParams& into = copy->Cols()[i].Param();
    for (int part = 0; part < from.PartCount() && part < into.PartCount(); ++part)
      CopyProperties(from.PartAt(part), into.PartAt(part));
  }
  copy->SetModified(model.Modified());
  return copy;
}

}  // namespace kelvast
