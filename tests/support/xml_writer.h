// Writes XML exports (.xml) from element descriptions, with switches for the shapes and faults
// the reader must cope with. Used by the tests and the benchmarks.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kavlo::testing {

struct XmlElement {
    std::string kind = "Form";  // element name: Form, Report, Page, or any other
    int id = 0;
    // Attribute values as UTF-8 text; they are escaped when written (see XmlEscape), except
    // where `raw` says they stand as they are.
    std::string name;
    std::optional<std::string> date = "2009-01-31";
    std::optional<std::string> time = "12:00:00";
    std::optional<std::string> modified;  // absent unless set
    std::optional<std::string> version = "NAVW16.00";
    bool raw = false;
    // Further attributes written before ID, as ' Key="value"' texts.
    std::string leadingAttributes;
    // Each attribute of the start tag on a line of its own (a blank starts each continuation).
    bool tagOverLines = false;
    // No closing tag after the body.
    bool writeClosingTag = true;
    // An empty element: the start tag ends with `" />`, which is no start tag's end to the
    // reader, and no closing tag follows.
    bool selfClosing = false;
    int bodyLines = 2;
    // Lines of code written after the body, each as a <Code> element of its own.
    std::vector<std::string> code;
};

struct XmlFile {
    std::vector<XmlElement> elements;
    std::string rootStart = "<Objects xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">";
    bool writeRootEnd = true;
    bool prolog = true;  // <?xml ...?> and a byte order mark
    std::string lineEnd = "\r\n";
    bool oneLine = false;  // no line breaks at all
};

// Escapes &, <, >, " and ' as XML entities.
std::string XmlEscape(const std::string& text);

std::string WriteXml(const XmlFile& file);

// One start tag of an element, as WriteXml writes it (without indentation).
std::string XmlStartTag(const XmlElement& e, const std::string& lineEnd);

// An element of that kind, ID and name, with the defaults above.
XmlElement SimpleXmlElement(const std::string& kind, int id, const std::string& name);
// Form 21 Customer Card, Report 206 Sales - Invoice (modified, 2010-06-15 08:30:15) and Page 42
// Sales Order (two versions).
XmlFile ThreeXmlElements();

// Forms, reports and pages with realistic attributes; `bodyLines` sets each body's size.
std::vector<XmlElement> RealisticXmlElements(int count, uint32_t seed, int bodyLines);

}  // namespace kavlo::testing
