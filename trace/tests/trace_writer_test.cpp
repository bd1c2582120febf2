// The trace file as a reader sees it: parsed with pugixml, element by element.
#include "trace/trace_writer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <pugixml.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/com/error_info.h"
#include "trace/method_trace.h"
#include "trace/tests/trace_root_test.h"
#include "trace/trace_listener.h"

namespace motqr::trace {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> AttributeNames(const pugi::xml_node& n) {
  std::vector<std::string> names;
  for (const pugi::xml_attribute& a : n.attributes()) names.emplace_back(a.name());
  return names;
}

std::vector<std::string> ChildNames(const pugi::xml_node& n) {
  std::vector<std::string> names;
  for (const pugi::xml_node& c : n.children()) names.emplace_back(c.name());
  return names;
}

using Names = std::vector<std::string>;
const Names kMethodAttributes{"Name", "Interface", "StartTime", "Thread", "Timestamp"};
const Names kScalarAttributes{"Name", "Direction", "Value", "DataType"};
const Names kArrayAttributes{"Name", "Direction", "NumDims", "DimSizes", "DataType"};

class TraceWriterTest : public trace::TraceRootTest {
 protected:
  void Start(TraceOptions options) {
    ASSERT_FALSE(writer_.Start(true, options, "MorvaneTqr", "Morvane"));
  }
  // One call with `params`, `inside` run between its entry and exit parts.
  void Call(const char* method, std::initializer_list<Parameter> params, com::HRESULT result,
            const std::function<void()>& inside = {}) {
    CMethodTrace record(writer_, "ITest", method, params);
    ASSERT_FALSE(record.Enter());
    if (inside) inside();
    ASSERT_FALSE(record.Exit(result));
  }
  pugi::xml_node Parse(const fs::path& file) {
    const pugi::xml_parse_result r = doc_.load_file(file.c_str());
    EXPECT_TRUE(r) << file << ": " << r.description();
    return doc_.child("TraceRecords");
  }

  CTraceWriter writer_;
  pugi::xml_document doc_;
};

TEST_F(TraceWriterTest, RecordsHoldExactlyTheirElementsAndAttributes) {
  Start({.name = "shapes", .array_size_max = 10});
  const std::int32_t i32 = -7;
  const double dbl = 2.5;
  const com::VARIANT_BOOL flag = com::VARIANT_TRUE;
  com::Bstr text = com::Bstr::FromUtf8("V&1");
  const std::int16_t i16 = 5;
  com::IUnknown* object = nullptr;
  com::Variant holds_double = com::Variant::Double(1.5);
  com::VARIANT nested{};
  nested.vt = com::VT_VARIANT | com::VT_BYREF;
  nested.byref = holds_double.Get();
  Call("Scalars",
       {InParameter("I32", i32), InParameter("Dbl", dbl),
        InParameter("Flag", flag, TypeOf<com::VARIANT_BOOL>("VARIANT_BOOL")),
        InParameter("Text", text.Get()), InParameter("I16", i16), InParameter("Object", object),
        InParameter("InVariant", *holds_double.Get()), InParameter("Nested", nested)},
       com::S_OK);

  com::SafeArray vector = com::SafeArray::CreateVector(com::VT_R8, 100);
  for (std::size_t i = 0; i < 100; ++i) vector.Data<double>()[i] = static_cast<double>(i);
  const com::SAFEARRAYBOUND bounds[2] = {{2, 0}, {3, 0}};
  com::SafeArray matrix = com::SafeArray::Attach(com::SafeArrayCreate(com::VT_I4, 2, bounds));
  com::BSTR in_out = com::AllocBstrFromUtf8("old");
  com::SAFEARRAY* vector_p = vector.Get();
  com::SAFEARRAY* matrix_p = matrix.Get();
  Call("Arrays",
       {InParameter("Vector", vector_p), InParameter("Matrix", matrix_p),
        InOutParameter("Version", &in_out)},
       com::E_FAIL, [&] {
         com::SysFreeString(in_out);
         in_out = com::AllocBstrFromUtf8("new");
         com::SetErrorRecord({.description = "MorvaneTqr: it failed <badly>."});
       });
  com::SysFreeString(in_out);
  writer_.SessionClosing();

  const pugi::xml_node records = Parse(dir() / "shapes.xml");
  ASSERT_EQ(ChildNames(records), (Names{"Method", "Method"}));
  const pugi::xml_node scalars = records.first_child();
  EXPECT_EQ(AttributeNames(scalars), kMethodAttributes);
  EXPECT_STREQ(scalars.attribute("Name").value(), "Scalars");
  EXPECT_STREQ(scalars.attribute("Interface").value(), "ITest");
  EXPECT_TRUE(std::regex_match(scalars.attribute("StartTime").value(),
                               std::regex(R"(\d{1,2}:\d{1,2}:\d{1,2}:\d{1,3})")));
  EXPECT_EQ(scalars.attribute("Thread").as_int(), static_cast<int>(::gettid()));
  EXPECT_GT(scalars.attribute("Timestamp").as_ullong(), 0u);
  struct Expected {
    const char* name;
    const char* value;
    const char* type;
  };
  const Expected expected[] = {
      {"I32", "-7", "Int32"},         {"Dbl", "2.5", "Double"},
      {"Flag", "true", "Boolean"},    {"Text", "V&1", "String"},
      {"I16", "5", "Int16"},          {"Object", "(interface)", "IUnknown"},
      {"InVariant", "1.5", "Double"}, {"Nested", "(variant)", "VARIANT"}};
  pugi::xml_node p = scalars.child("Parameter");
  for (const Expected& e : expected) {
    ASSERT_TRUE(p) << e.name;
    EXPECT_EQ(AttributeNames(p), kScalarAttributes) << e.name;
    EXPECT_STREQ(p.attribute("Name").value(), e.name);
    EXPECT_STREQ(p.attribute("Direction").value(), "In");
    EXPECT_STREQ(p.attribute("Value").value(), e.value) << e.name;
    EXPECT_STREQ(p.attribute("DataType").value(), e.type) << e.name;
    p = p.next_sibling();
  }
  EXPECT_EQ(ChildNames(scalars).size(), 10u) << "eight parameters, HRESULT, Execution";
  EXPECT_EQ(AttributeNames(scalars.child("HRESULT")), Names{"Value"});
  EXPECT_STREQ(scalars.child("HRESULT").attribute("Value").value(), "0x00000000");
  EXPECT_EQ(AttributeNames(scalars.child("Execution")), Names{"ExecutionTime"});
  EXPECT_TRUE(std::regex_match(scalars.child("Execution").attribute("ExecutionTime").value(),
                               std::regex(R"(\d\.\d{6}e[-+]\d\d)")));

  const pugi::xml_node arrays = scalars.next_sibling();
  ASSERT_EQ(ChildNames(arrays),
            (Names{"Parameter", "Parameter", "Parameter", "Parameter", "HRESULT", "Execution"}));
  const pugi::xml_node vec = arrays.child("Parameter");
  EXPECT_EQ(AttributeNames(vec), kArrayAttributes);
  EXPECT_STREQ(vec.attribute("NumDims").value(), "1");
  EXPECT_STREQ(vec.attribute("DimSizes").value(), "100");
  EXPECT_STREQ(vec.attribute("DataType").value(), "Double[]");
  EXPECT_EQ(ChildNames(vec), Names(10, "Element")) << "TraceArraySizeMax elements";
  EXPECT_STREQ(vec.last_child().attribute("Value").value(), "9");
  const pugi::xml_node mat = vec.next_sibling();
  EXPECT_EQ(AttributeNames(mat), kArrayAttributes);
  EXPECT_STREQ(mat.attribute("NumDims").value(), "2");
  EXPECT_STREQ(mat.attribute("DimSizes").value(), "2,3");
  EXPECT_STREQ(mat.attribute("DataType").value(), "Int32[]");
  EXPECT_FALSE(mat.first_child()) << "no elements of a two-dimensional array";
  const pugi::xml_node version_in = mat.next_sibling();
  const pugi::xml_node version_out = version_in.next_sibling();
  EXPECT_STREQ(version_in.attribute("Direction").value(), "InOut");
  EXPECT_STREQ(version_in.attribute("Value").value(), "old");
  EXPECT_STREQ(version_out.attribute("Direction").value(), "InOut");
  EXPECT_STREQ(version_out.attribute("Value").value(), "new");
  const pugi::xml_node hresult = arrays.child("HRESULT");
  EXPECT_EQ(AttributeNames(hresult), (Names{"Value", "Message"}));
  EXPECT_STREQ(hresult.attribute("Value").value(), "0x80004005");
  EXPECT_STREQ(hresult.attribute("Message").value(), "MorvaneTqr: it failed <badly>.");
  com::SetErrorInfo(0, nullptr);
}

TEST_F(TraceWriterTest, ExactTextOfARecord) {
  Start({.name = "text"});
  Call("Ping", {}, com::S_OK);
  writer_.SessionClosing();
  const std::string masked = std::regex_replace(
      ReadFile(dir() / "text.xml"),
      std::regex(R"((StartTime|Thread|Timestamp|ExecutionTime)="[^"]*")"), "$1=\"*\"");
  EXPECT_EQ(masked,
            "<?xml version=\"1.0\"?>\r\n"
            "<TraceRecords>\r\n"
            "\t<Method Name=\"Ping\" Interface=\"ITest\" StartTime=\"*\" Thread=\"*\" "
            "Timestamp=\"*\">\r\n"
            "\t\t<HRESULT Value=\"0x00000000\"/>\r\n"
            "\t\t<Execution ExecutionTime=\"*\"/>\r\n"
            "\t</Method>\r\n"
            "</TraceRecords>\r\n");
}

TEST_F(TraceWriterTest, RollOverLeavesCompleteFiles) {
  Start({.size_max = 1, .save_interval = 0});  // every save finds the file too big
  for (int i = 0; i < 3; ++i) Call("Ping", {}, com::S_OK);
  EXPECT_EQ(writer_.file_state(), CTraceWriter::FileState::kDue);
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(dir())) files.push_back(e.path());
  ASSERT_EQ(files.size(), 3u) << "files started in one second still get names of their own";
  for (const fs::path& f : files) {
    EXPECT_TRUE(
        std::regex_match(f.filename().string(),
                         std::regex(R"(MorvaneTqr_\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d(_\d)?\.xml)")))
        << f;
    const std::string text = ReadFile(f);
    EXPECT_TRUE(text.ends_with("</TraceRecords>\r\n")) << f;
    EXPECT_EQ(ChildNames(Parse(f)), Names{"Method"}) << f;
  }
}

TEST_F(TraceWriterTest, NamingDirectoriesAndStylesheet) {
  Start({.name = "run1"});
  writer_.SessionClosing();
  EXPECT_EQ(writer_.file_path(), (dir() / "run1.xml").string());
  EXPECT_EQ(ReadFile(dir() / "run1.xml").find("xml-stylesheet"), std::string::npos)
      << "no stylesheet file, no reference";

  std::ofstream(dir() / "trace.xslt") << "<xsl/>";
  Start({.name = "run2.XML"});
  writer_.SessionClosing();
  EXPECT_EQ(writer_.file_path(), (dir() / "run2.XML").string());
  EXPECT_NE(ReadFile(dir() / "run2.XML")
                .find("<?xml-stylesheet type=\"text/xsl\" href=\"file://" +
                      (dir() / "trace.xslt").string() + "\"?>\r\n"),
            std::string::npos);

  fs::remove_all(dir());
  EXPECT_EQ(writer_.Start(true, {}, "MorvaneTqr", "Morvane"), std::errc::no_such_file_or_directory)
      << "the fall-back folder is not created either";
  fs::create_directories(root_ / "Components" / "Quillstone");
  Start({.name = "run3"});
  EXPECT_EQ(writer_.file_path(), (root_ / "Components" / "Quillstone" / "run3.xml").string());
}

TEST_F(TraceWriterTest, FailedWriteAbandonsTheFileAndTheNextCallStartsAnew) {
  Start({.name = "limited"});
  // A file size limit makes the next write fail with EFBIG.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit limited = saved;
  limited.rlim_cur = static_cast<rlim_t>(fs::file_size(dir() / "limited.xml") + 8);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
  std::error_code failure;
  {
    CMethodTrace record(writer_, "ITest", "Ping", {});
    failure = record.Enter();
  }
  ::setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(failure, std::errc::file_too_large);
  EXPECT_EQ(writer_.file_state(), CTraceWriter::FileState::kDue);

  Call("Pong", {}, com::S_OK);
  writer_.SessionClosing();
  const pugi::xml_node records = Parse(dir() / "limited.xml");
  EXPECT_STREQ(records.child("Method").attribute("Name").value(), "Pong");
}

class Collector final : public ITraceListener {
 public:
  void OnTraceEvent(const char* record, std::int32_t kind, const char* name,
                    std::uint32_t id) override {
    records.emplace_back(record);
    EXPECT_EQ(kind, 1);
    EXPECT_STREQ(name, "MorvaneTqr");
    ids.push_back(id);
  }
  std::vector<std::string> records;
  std::vector<std::uint32_t> ids;
};

TEST_F(TraceWriterTest, ListenersGetEachTopLevelRecordOnce) {
  Collector collector;
  RegisterTraceListener(&collector);
  Start({.name = "heard"});
  Call("Outer", {}, com::S_OK, [&] {
    Call("Inner", {}, com::S_OK);
    EXPECT_TRUE(collector.records.empty()) << "nested records go out with their outer record";
  });
  Call("Second", {}, com::S_OK);
  UnregisterTraceListener(&collector);
  Call("Unheard", {}, com::S_OK);
  writer_.SessionClosing();

  ASSERT_EQ(collector.records.size(), 2u);
  EXPECT_EQ(collector.ids, (std::vector<std::uint32_t>{writer_.trace_id(), writer_.trace_id()}));
  pugi::xml_document record;
  ASSERT_TRUE(record.load_string(collector.records[0].c_str()));
  EXPECT_TRUE(collector.records[0].starts_with("<Method Name=\"Outer\""));
  EXPECT_STREQ(record.child("Method").child("Method").attribute("Name").value(), "Inner");
  EXPECT_TRUE(collector.records[1].starts_with("<Method Name=\"Second\""));
  EXPECT_TRUE(collector.records[1].ends_with("</Method>\r\n"));
}

}  // namespace
}  // namespace motqr::trace
