#include "report/xml_check.h"

#include "platform/sjis.h"
#include "platform/xml_name.h"

#include <set>
#include <string_view>

namespace {

const std::string_view kEntities[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"};

class DocumentReader {
  public:
    explicit DocumentReader(const std::string& bytes) : bytes_(bytes) {}

    // Reads the whole document; the names of its elements go to names.
    bool Read(const std::string& declaration, std::set<std::string>& names) {
        if (!Skip(declaration))
            return false;
        SkipSpace();
        std::vector<std::string> open;
        do {
            if (Skip("</")) {
                std::string name;
                if (!Name(name) || open.empty() || name != open.back())
                    return false;
                SkipSpace();
                if (!Skip(">"))
                    return false;
                open.pop_back();
            } else {
                std::string name;
                bool empty = false;
                if (!Skip("<") || !StartTag(name, empty))
                    return false;
                names.insert(name);
                if (!empty)
                    open.push_back(name);
            }
            if (open.empty())
                break;
            if (!Text('<'))
                return false;
        } while (true);
        SkipSpace();
        return position_ == bytes_.size();
    }

    // Where the reading stopped.
    std::size_t position() const { return position_; }

  private:
    bool Skip(std::string_view text) {
        if (bytes_.compare(position_, text.size(), text) != 0)
            return false;
        position_ += text.size();
        return true;
    }

    bool SkipSpace() {
        const std::size_t start = position_;
        while (position_ < bytes_.size() &&
               (bytes_[position_] == ' ' || bytes_[position_] == '\t' ||
                bytes_[position_] == '\r' || bytes_[position_] == '\n'))
            ++position_;
        return position_ != start;
    }

    bool Name(std::string& name) {
        const std::size_t start = position_;
        while (position_ < bytes_.size() && bytes_[position_] != '>' && bytes_[position_] != '/' &&
               bytes_[position_] != '=' && bytes_[position_] != ' ' && bytes_[position_] != '\t' &&
               bytes_[position_] != '\r' && bytes_[position_] != '\n')
            ++position_;
        name.assign(bytes_, start, position_ - start);
        return platform::IsXmlElementName(name);
    }

    // After "<": the name, attributes and ">" (or "/>", which makes empty true).
    bool StartTag(std::string& name, bool& empty) {
        if (!Name(name))
            return false;
        std::set<std::string> attributes;
        for (;;) {
            const bool spaced = SkipSpace();
            if (Skip(">"))
                return true;
            if (Skip("/>")) {
                empty = true;
                return true;
            }
            std::string attribute;
            if (!spaced || !Name(attribute) || !attributes.insert(attribute).second)
                return false;
            SkipSpace();
            if (!Skip("=") || (SkipSpace(), !Skip("\"")) || !Text('"') || !Skip("\""))
                return false;
        }
    }

    // Characters up to stop, which must follow them: whole Shift_JIS characters, entities for
    // the five markup characters.
    bool Text(char stop) {
        while (position_ < bytes_.size() && bytes_[position_] != stop) {
            const auto c = static_cast<unsigned char>(bytes_[position_]);
            if (platform::IsLeadByte(c)) {
                if (position_ + 1 == bytes_.size() ||
                    !platform::IsTrailByte(static_cast<unsigned char>(bytes_[position_ + 1])))
                    return false;
                position_ += 2;
            } else if (c == '&') {
                bool known = false;
                for (std::string_view entity : kEntities)
                    known = known || Skip(entity);
                if (!known)
                    return false;
            } else if (c == '<' || c == '>' || c == '"' || !platform::IsTextSingleByte(c)) {
                return false;
            } else {
                ++position_;
            }
        }
        return position_ < bytes_.size();
    }

    const std::string& bytes_;
    std::size_t position_ = 0;
};

} // namespace

std::string XmlDocumentFault(const std::string& bytes, const std::string& declaration,
                             const std::vector<std::string>& required) {
    std::set<std::string> names;
    DocumentReader reader(bytes);
    if (!reader.Read(declaration, names))
        return "offset " + std::to_string(reader.position());
    for (const std::string& name : required) {
        if (names.count(name) == 0)
            return "no element " + name;
    }
    return std::string();
}
