#include "report/xml_writer.h"

#include "platform/sjis.h"
#include "platform/xml_name.h"

namespace {

void AppendIndent(std::string& line, int indent) {
    line.clear();
    if (indent > 0)
        line.append(static_cast<std::size_t>(indent), '\t');
}

const char kLineEnd[] = "\r\n";

} // namespace

platform::Status ClXmlWriter::OpenFile(platform::FileSystem& files, const char* path) {
    if (path == nullptr || *path == '\0')
        return OpenFile(nullptr, std::string(), platform::Status::NoData("open-xml-path"));
    auto file = files.OpenForWrite(path);
    const unsigned long error = file == nullptr ? files.LastError() : 0;
    return OpenFile(std::move(file), path, platform::Status::Io("open-xml", error, path));
}

platform::Status ClXmlWriter::OpenFile(std::unique_ptr<platform::OutputFile> file,
                                       const std::string& path, platform::Status notOpened) {
    // A file still open from before is closed whatever became of it.
    static_cast<void>(CloseFile());
    path_ = path;
    file_ = std::move(file);
    status_ = file_ != nullptr ? platform::Status() : std::move(notOpened);
    return status_;
}

void ClXmlWriter::Fail(platform::Status failure) {
    if (status_.ok())
        status_ = std::move(failure);
}

platform::Status ClXmlWriter::WriteText(const std::string& text) {
    if (file_ == nullptr)
        return status_.ok() ? platform::Status::Io("write-xml-not-open", 0, path_) : status_;
    if (!file_->Write(text.data(), text.size())) {
        Fail(platform::Status::Io("write-xml", file_->Error(), path_));
        static_cast<void>(CloseFile());
    }
    return status_;
}

void ClXmlWriter::AppendAttribute(std::string& line, const char* attrName, const char* attrValue) {
    line += ' ';
    line += attrName;
    line += "=\"";
    line += EscapeText(attrValue);
    line += '"';
}

void ClXmlWriter::AppendAttributes(std::string& line, const char* attrName1, const char* attrValue1,
                                   const char* attrName2, const char* attrValue2) {
    if (attrName1 == nullptr || attrValue1 == nullptr)
        return;
    AppendAttribute(line, attrName1, attrValue1);
    if (attrName2 != nullptr && attrValue2 != nullptr)
        AppendAttribute(line, attrName2, attrValue2);
}

platform::Status ClXmlWriter::WriteStartTag(std::string& line, const char* name, int indent,
                                            const char* attrName1, const char* attrValue1,
                                            const char* attrName2, const char* attrValue2) {
    AppendIndent(line, indent);
    line += '<';
    line += name;
    AppendAttributes(line, attrName1, attrValue1, attrName2, attrValue2);
    line += '>';
    line += kLineEnd;
    return WriteText(line);
}

platform::Status ClXmlWriter::WriteElement(std::string& line, const char* name, const char* value,
                                           int indent, const char* attrName1,
                                           const char* attrValue1, const char* attrName2,
                                           const char* attrValue2) {
    AppendIndent(line, indent);
    line += '<';
    line += name;
    AppendAttributes(line, attrName1, attrValue1, attrName2, attrValue2);
    line += '>';
    line += EscapeText(value);
    line += "</";
    line += name;
    line += '>';
    line += kLineEnd;
    return WriteText(line);
}

platform::Status ClXmlWriter::WriteEndTag(std::string& line, const char* name, int indent) {
    AppendIndent(line, indent);
    line += "</";
    line += name;
    line += '>';
    line += kLineEnd;
    return WriteText(line);
}

const std::string& ClXmlWriter::EscapeText(const char* text) {
    escaped_.clear();
    for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (platform::IsLeadByte(c)) {
            // The NUL that ends the text is no second byte, so p + 1 is always readable.
            if (platform::IsTrailByte(static_cast<unsigned char>(p[1]))) {
                escaped_.append(p, 2);
                ++p;
            }
            continue;
        }
        switch (c) {
        case '&':
            escaped_ += "&amp;";
            break;
        case '>':
            escaped_ += "&gt;";
            break;
        case '<':
            escaped_ += "&lt;";
            break;
        case '"':
            escaped_ += "&quot;";
            break;
        case '\'':
            escaped_ += "&apos;";
            break;
        default:
            if (platform::IsTextSingleByte(c))
                escaped_ += *p;
        }
    }
    return escaped_;
}

platform::Status ClXmlWriter::CloseFile() {
    if (file_ != nullptr) {
        if (!file_->Close())
            Fail(platform::Status::Io("close-xml", file_->Error(), path_));
        file_.reset();
    }
    return status_;
}
