// The read-back check of written XML documents: what passes and each fault it must catch.
#include "report/xml_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n";

bool Sound(const std::string& body, const std::vector<std::string>& required = {}) {
    return XmlDocumentFault(kDeclaration + body, kDeclaration, required).empty();
}

} // namespace

TEST(XmlCheck, AcceptsDocumentsAsTheWriterWritesThem) {
    EXPECT_TRUE(
        Sound("<R>\r\n\t<S a=\"1\" b=\"&lt;表&quot;\">\r\n\t\t<E>ｱ表ソ&amp;&apos;&gt;</E>\r\n"
              "\t\t<N></N>\r\n\t</S>\r\n</R>\r\n",
              {"R", "S", "E", "N"}));
    EXPECT_TRUE(Sound("<R/>"));
    EXPECT_TRUE(Sound("<_R><a.b-c_1>\t\r\n</a.b-c_1></_R>"));
}

TEST(XmlCheck, RejectsEachFault) {
    struct Case {
        const char* what;
        std::string body;
    };
    const Case cases[] = {
        {"end tag missing", "<R><S></R>"},
        {"end tag without start tag", "<R></S></R>"},
        {"crossed tags", "<R><S><T></S></T></R>"},
        {"no root", ""},
        {"two roots", "<R></R><S></S>"},
        {"text after the root", "<R></R>x"},
        {"text before the root", "x<R></R>"},
        {"unclosed root", "<R>"},
        {"name starting with a digit", "<R><1A>1</1A></R>"},
        {"name starting with a '.'", "<R><.A>1</.A></R>"},
        {"control character", "<R>a\x01</R>"},
        {"lone lead byte swallowing the '<'", "<R>a\x81</R>"},
        {"lead byte at the end", "<R>a</R>\x81"},
        {"byte that is no character", "<R>\xA0</R>"},
        {"unknown entity", "<R>&nbsp;</R>"},
        {"bare ampersand", "<R>a & b</R>"},
        {"raw '>'", "<R>a > b</R>"},
        {"attribute without quotes", "<R a=1></R>"},
        {"attribute twice", "<R a=\"1\" a=\"2\"></R>"},
        {"'<' in an attribute", "<R a=\"<\"></R>"},
        {"attribute glued to the name", "<R\"a\"></R>"},
        {"truncated", "<R><S>abc"},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(Sound(c.body)) << c.what;
}

TEST(XmlCheck, NeedsTheDeclarationAndEveryRequiredElement) {
    const std::string body = "<R><A>1</A><B01>2</B01></R>";
    EXPECT_TRUE(Sound(body, {"A", "B01"}));
    EXPECT_FALSE(Sound(body, {"A", "B01", "B02"}));
    EXPECT_FALSE(Sound(body, {"R01"}));
    EXPECT_EQ("offset 0", XmlDocumentFault("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + body,
                                           kDeclaration, {}));
    EXPECT_EQ("offset 0", XmlDocumentFault(body, kDeclaration, {}));
}
