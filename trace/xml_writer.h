// The trace file's XML writer: elements indented with one tab per open
// element, lines ended with "\r\n", attributes only while a start tag is open,
// and the empty-element form for an element without children.
//
//   XmlWriter xml;
//   xml.StartElement("Method");               // <Method   (tag left open)
//   xml.Attribute("Name", "get_Cache");        //  Name="get_Cache"
//   xml.StartElement("HRESULT");               // >\r\n\t<HRESULT
//   xml.Attribute("Value", "0x00000000");
//   xml.EndElement();                          // />\r\n
//   xml.EndElement();                          // </Method>\r\n
//   Write(xml.text()); xml.ClearText();        // the caller takes the text out
//
// Attribute values are escaped (&amp; &lt; &gt; &quot;, and tab, line feed and
// carriage return as character references), and characters XML cannot carry
// become '?', so a value read from an instrument never breaks the file.
// Element names are literals that live for the program's whole run.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace motqr::trace {

class XmlWriter {
 public:
  // Starts element `name`. Its start tag stays open for attributes until the
  // next element starts or it ends, unless `attributes_follow` is false.
  void StartElement(const char* name, bool attributes_follow = true);
  // Adds an attribute to the open start tag; ignored when no start tag is open.
  void Attribute(std::string_view name, std::string_view value);
  // Ends the innermost open element; nothing happens when none is open.
  void EndElement();

  // Open elements, the root included.
  std::size_t depth() const { return open_.size(); }
  // The text written since the last ClearText.
  const std::string& text() const { return text_; }
  void ClearText() { text_.clear(); }
  // Forgets every open element (the file they were in is gone).
  void Reset();

 private:
  void CloseStartTag();
  void Indent(std::size_t levels);

  std::vector<const char*> open_;
  bool start_tag_open_ = false;
  std::string text_;
};

// Appends `value` escaped for an XML attribute value to `out`.
void AppendEscaped(std::string& out, std::string_view value);

}  // namespace motqr::trace
