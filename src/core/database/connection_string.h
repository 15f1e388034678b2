// SPDX-License-Identifier: MIT
#pragma once
// ODBC connection strings as lists of attributes: reading a string into its attributes, writing
// values with the braces ODBC asks for, the fields of the connection builder, and the installed
// drivers it offers.
//
//   TConnectionParts parts = ParseConnectionParts("DRIVER={PostgreSQL Unicode};Server=db");
//   parts.Password = "se;cret";
//   BuildConnectionString(parts);  // "DRIVER={PostgreSQL Unicode};SERVER=db;PWD={se;cret}"

#include <string>
#include <string_view>
#include <vector>

namespace kelvast {

// One "key=value" of a connection string, the value without its braces. A part without "=" has
// an empty key and the part as its value.
struct TConnectionAttribute {
  std::string Key;
  std::string Value;

  bool operator==(const TConnectionAttribute&) const = default;
};

// Where an attribute stands in its string: from its first character to the ";" that ends it (or
// the string's end).
struct TAttributeSpan {
  size_t From = 0;
  size_t To = 0;
};

// The attributes of a connection string, in order. Attributes are separated by ";"; keys and
// unbraced values are trimmed; a value in braces may hold ";", "=" and "}" (written "}}") and
// loses its braces. Empty parts are skipped. `spans`, when given, receives each attribute's span.
std::vector<TConnectionAttribute> SplitConnectionString(std::string_view text,
                                                        std::vector<TAttributeSpan>* spans = nullptr);

// The value as written after "key=": in braces with every "}" doubled when it holds ";", "{" or
// "}" or begins or ends with a blank, else unchanged.
std::string QuoteConnectionValue(std::string_view value);

// The fields of the connection builder; an empty field is left out of the string.
struct TConnectionParts {
  std::string Driver;  // an installed ODBC driver; empty for the SQLite 3 default
  std::string Server;
  std::string Port;
  std::string Database;  // with SQLite, the database file
  std::string User;
  std::string Password;
  // Every other attribute, in the string's order.
  std::vector<TConnectionAttribute> Others;

  bool operator==(const TConnectionParts&) const = default;
};

// The fields of a connection string: its keys DRIVER, SERVER, PORT, DATABASE, UID and PWD compared
// without regard to case, the first of repeated ones counting. A text without "=" is the SQLite
// default's database file.
TConnectionParts ParseConnectionParts(std::string_view text);

// "DRIVER={..};SERVER=..;PORT=..;DATABASE=..;UID=..;PWD=.." followed by the other attributes.
std::string BuildConnectionString(const TConnectionParts& parts);

// The names of the ODBC drivers installed with unixODBC, in its order (kelvast_db defines it).
std::vector<std::string> InstalledOdbcDrivers();

}  // namespace kelvast
