#include "trace/xml_writer.h"

#include <gtest/gtest.h>

namespace motqr::trace {
namespace {

TEST(XmlWriterTest, TabsLineEndsEmptyElementsAndEscapedAttributes) {
  XmlWriter x;
  x.StartElement("TraceRecords", false);
  x.StartElement("Method");
  x.Attribute("Name", "a&b<\"c\">\t\r\n\x01");
  x.StartElement("HRESULT");
  x.Attribute("Value", "0x00000000");
  x.EndElement();
  x.Attribute("Late", "ignored: no start tag is open");
  x.EndElement();
  EXPECT_EQ(x.depth(), 1u);
  x.EndElement();
  x.EndElement();  // nothing open: no output
  EXPECT_EQ(x.text(),
            "<TraceRecords>\r\n"
            "\t<Method Name=\"a&amp;b&lt;&quot;c&quot;&gt;&#9;&#13;&#10;?\">\r\n"
            "\t\t<HRESULT Value=\"0x00000000\"/>\r\n"
            "\t</Method>\r\n"
            "</TraceRecords>\r\n");
}

}  // namespace
}  // namespace motqr::trace
