#include "trace/xml_writer.h"

namespace motqr::trace {

void XmlWriter::StartElement(const char* name, bool attributes_follow) {
  CloseStartTag();
  Indent(open_.size());
  text_ += '<';
  text_ += name;
  open_.push_back(name);
  start_tag_open_ = true;
  if (!attributes_follow) CloseStartTag();
}

void XmlWriter::Attribute(std::string_view name, std::string_view value) {
  if (!start_tag_open_) return;
  text_ += ' ';
  text_ += name;
  text_ += "=\"";
  AppendEscaped(text_, value);
  text_ += '"';
}

void XmlWriter::EndElement() {
  if (open_.empty()) return;
  const char* name = open_.back();
  open_.pop_back();
  if (start_tag_open_) {
    text_ += "/>\r\n";
    start_tag_open_ = false;
    return;
  }
  Indent(open_.size());
  text_ += "</";
  text_ += name;
  text_ += ">\r\n";
}

void XmlWriter::Reset() {
  open_.clear();
  start_tag_open_ = false;
  text_.clear();
}

void XmlWriter::CloseStartTag() {
  if (!start_tag_open_) return;
  text_ += ">\r\n";
  start_tag_open_ = false;
}

void XmlWriter::Indent(std::size_t levels) { text_.append(levels, '\t'); }

void AppendEscaped(std::string& out, std::string_view value) {
  for (char c : value) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\t':
        out += "&#9;";
        break;
      case '\n':
        out += "&#10;";
        break;
      case '\r':
        out += "&#13;";
        break;
      default:
        // Other control characters are not allowed in XML 1.0 at all.
        out += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    }
  }
}

}  // namespace motqr::trace
