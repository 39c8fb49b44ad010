// The sample books delivered with the programs, and synthetic books for benchmarks.
#pragma once

#include <string>
#include <vector>

namespace bookgen {

// Names of the sample books: the file data/books/NAME.json holds SampleBook(NAME).
std::vector<std::string> SampleBookNames();
// The JSON text of a sample book; empty for an unknown name.
std::string SampleBook(const std::string& name);

// A synthetic book with one data set of about accountCount accounts (main and sub-accounts)
// and balanced monthly figures.
std::string SyntheticBook(int accountCount, unsigned seed);

} // namespace bookgen
