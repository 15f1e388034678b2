// SPDX-License-Identifier: MIT
#pragma once
// Objects whose stored properties are described by a property list (see property.h), so that the
// model file, its JSON form and any other reader or writer share one description.

#include <string_view>

namespace kelvast {

struct TPropList;

class TPersistent {
 public:
  virtual ~TPersistent() = default;

  // The class name as model files write it ("TGenModel", "TCPString", ...).
  virtual std::string_view ClassName() const = 0;

  // The stored properties in stream order.
  virtual const TPropList& Props() const = 0;
};

// A persistent collection of persistent items (the model's generator list).
class TPersistentCollection : public TPersistent {
 public:
  virtual int Count() const = 0;
  virtual TPersistent& ItemAt(int index) = 0;
  virtual const TPersistent& ItemAt(int index) const = 0;
  virtual TPersistent& AddItem() = 0;
  virtual void Clear() = 0;
};

}  // namespace kelvast
