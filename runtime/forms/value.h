// Property values as scripts and renderers see them: a boolean, a whole number, a number or a
// text, the four kinds the add-in's controls carry.
#pragma once

#include <string>
#include <variant>

namespace forms {

using PropertyValue = std::variant<bool, long, double, std::string>;

// "True"/"False", numbers bare (whole numbers without a fraction: 4087.5, 10230), text in
// double quotes with \r \n \t \" \\ escaped.
std::string FormatValue(const PropertyValue& value);
// Numbers as VB prints them: "10230", "4087.5", "-3".
std::string FormatNumber(double value);

// Converts a script's text to the kind of `like`: True/False (any case) or a number for a
// boolean, a number for the numeric kinds, the text itself for text. Raises run-time error 13
// (type mismatch) when the text does not fit.
PropertyValue ParseValueLike(const PropertyValue& like, const std::string& text);

// Reads a value as each kind, converting as VB does between the numeric kinds and booleans.
// Raises 13 when a text is not a number or a boolean.
bool AsBool(const PropertyValue& value);
long AsLong(const PropertyValue& value);
double AsDouble(const PropertyValue& value);
std::string AsText(const PropertyValue& value);

}  // namespace forms
