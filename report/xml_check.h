// Reads a written XML document back before it may replace its target: the last guard against a
// file that the filing application could not import.
#pragma once

#include <string>
#include <vector>

// Where a document goes wrong, in ASCII: "offset N" (the byte at which the reading stopped) or
// "no element NAME"; empty for a sound document, one of the kind ClXmlWriter writes: declaration
// first, then one root element whose start and end tags nest, names that follow the name rule,
// attribute values in double quotes, text of Shift_JIS characters holding no markup but the five
// predefined entities, nothing but white space around the root; and every name of required names
// an element.
std::string XmlDocumentFault(const std::string& bytes, const std::string& declaration,
                             const std::vector<std::string>& required);
