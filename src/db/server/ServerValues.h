#pragma once
// Values between the program and the server, in the server's text format:
// what a bound parameter carries and what a result column holds.

#include <string>
#include <string_view>

#include "db/FieldValue.h"

namespace veltra::db::engine {

// The server's type for each field type.
std::string serverTypeName(FieldType type);
// The parameter text of a value that is not null, into out (whose room serves row after row).
void serverText(const FieldValue& value, std::string& out);
// A value's text as an element of an array literal: quoted, so that no text
// reads as NULL or splits in two.
void appendArrayElement(std::string& array, std::string_view text);
// A column's text read back as the given field type.
void readServerText(std::string_view text, FieldType type, FieldValue& out);
// The field type the server's column type stands for (an expression's type).
FieldType fieldTypeOfServerType(unsigned int oid);

}  // namespace veltra::db::engine
