#pragma once
// The type registry: the parameter class of each generator type (CreateParams, CreatePerson).

#include "core/model/param_factory.h"
