// Writes an XML document line by line straight into one output file: the caller emits the
// declaration, start tags, one-line elements and end tags in document order. Text is written as
// the Shift_JIS bytes it already is; the writer converts nothing apart from escaping.
#pragma once

#include "platform/filesystem.h"
#include "platform/status.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class ClXmlWriter {
  public:
    ClXmlWriter() = default;
    ~ClXmlWriter() { static_cast<void>(CloseFile()); }
    ClXmlWriter(const ClXmlWriter&) = delete;
    ClXmlWriter& operator=(const ClXmlWriter&) = delete;

    // Creates or truncates the file at path for writing. Refused when the path is missing or
    // the file cannot be opened; every later write then fails with the same status.
    [[nodiscard]] platform::Status OpenFile(platform::FileSystem& files, const char* path);
    // Writes into a file opened by the caller, kept as path. A null file is one the caller could
    // not open, notOpened saying why: every write fails with it.
    [[nodiscard]] platform::Status OpenFile(std::unique_ptr<platform::OutputFile> file,
                                            const std::string& path, platform::Status notOpened);

    // Writes the text's bytes as they are. When the file fails, it is closed, so that every
    // later write fails too, with the status of the first failure. Writing with no file open
    // (before OpenFile, after CloseFile) fails.
    [[nodiscard]] platform::Status WriteText(const std::string& text);

    // The tag operations build one line in the caller's buffer, reused from call to call so that
    // its storage is allocated once, and write it with WriteText. An attribute is written only
    // when both its name and value are given, and the second only after a first. Content of any
    // length is written whole.
    [[nodiscard]] platform::Status WriteStartTag(std::string& line, const char* name, int indent,
                                                 const char* attrName1 = nullptr,
                                                 const char* attrValue1 = nullptr,
                                                 const char* attrName2 = nullptr,
                                                 const char* attrValue2 = nullptr);
    [[nodiscard]] platform::Status
    WriteElement(std::string& line, const char* name, const char* value, int indent,
                 const char* attrName1 = nullptr, const char* attrValue1 = nullptr,
                 const char* attrName2 = nullptr, const char* attrValue2 = nullptr);
    [[nodiscard]] platform::Status WriteEndTag(std::string& line, const char* name, int indent);

    // The text with & > < " ' replaced by their entities (none of the five can be the second
    // byte of a double-byte character) and holding only characters that a Shift_JIS document
    // can hold: a control character other than tab, CR and LF, a byte that is no character of
    // code page 932 and a lead byte without its second byte are dropped. The result lives in
    // one buffer shared by all calls: use it before the next call.
    const std::string& EscapeText(const char* text);

    // Closes the file if one is set and forgets it. Refused when the file did not open, or a
    // write or the closing of the file failed: the status of the first failure.
    [[nodiscard]] platform::Status CloseFile();

    // Success while every write since OpenFile, and the closing of the file, reached the
    // file; else the status of the first failure.
    const platform::Status& status() const { return status_; }

    const std::string& path() const { return path_; }

  private:
    void AppendAttributes(std::string& line, const char* attrName1, const char* attrValue1,
                          const char* attrName2, const char* attrValue2);
    void AppendAttribute(std::string& line, const char* attrName, const char* attrValue);

    // Keeps the first failure; the later ones follow from it.
    void Fail(platform::Status failure);

    std::unique_ptr<platform::OutputFile> file_;
    std::string path_;
    std::string escaped_;
    platform::Status status_;
};
