// SPDX-License-Identifier: MIT
#pragma once
// The error hierarchy of the core. Errors end the action that raised them; the GUI shows the
// message once at the action boundary, the command line prints it and exits 1.

#include <stdexcept>
#include <string>

namespace kelvast {

// Base of every error the core raises on purpose.
class EKelvastError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A generator cannot produce a value (for example a float outside the 64-bit range).
class EGenerationError : public EKelvastError {
 public:
  using EKelvastError::EKelvastError;
};

// A file cannot be opened, read or written; the message names the file.
class EFileError : public EKelvastError {
 public:
  using EKelvastError::EKelvastError;
};

// A file or text was read but its content is not what the format allows.
class EFormatError : public EKelvastError {
 public:
  using EKelvastError::EKelvastError;
};

}  // namespace kelvast
