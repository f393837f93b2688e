#include "framework/form_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "framework/class_registry.h"
#include "framework/form_description.h"

using namespace nitko;

namespace {

// What the test components saw, in order: "Button1.Left", "Button1.parent",
// "Button1.Loaded".
std::vector<std::string> journal;
int live = 0;            // test components alive
int set_while_idle = 0;  // properties set outside the loading state

enum class TTestAlign { alNone, alTop, alClient };
constexpr unsigned kBold = 1, kItalic = 2, kUnderline = 4;

struct TTestBrush : TPersistent {
  TColor color = clBlack;
};
struct TTestWall : TPersistent {
  int size = 0;
  TTestBrush brush;
};
struct TTestFont : TPersistent {
  int height = 0;
  unsigned style = 0;
  int charset = 0;
};

class TTestItem : public TComponent {
 public:
  explicit TTestItem(TComponent* owner) : TComponent(owner) { ++live; }
  ~TTestItem() override { --live; }
  void SetParentComponent(TComponent* p) override {
    parent = p;
    Note("parent");
  }
  void Note(const std::string& what) {
    journal.push_back(Name() + "." + what);
    if (!IsLoading()) ++set_while_idle;
  }
  TComponent* parent = nullptr;
  int loaded = 0;

 protected:
  void Loaded() override {
    ++loaded;
    journal.push_back(Name() + ".Loaded");
  }
};

class TTestControl : public TTestItem {
 public:
  using TTestItem::TTestItem;
  void SetLeft(int v) { left = v, Note("Left=" + std::to_string(v)); }
  void SetScale(double v) { scale = v, Note("Scale"); }
  void SetCaption(const std::string& v) { caption = v, Note("Caption=" + v); }
  void SetCount(int v) {
    if (v < 0) throw Exception("Count must not be negative");
    count = v;
  }
  TTestFont& Font() { return font; }
  const TTestFont& Font() const { return font; }
  void Click() {
    if (OnClick) OnClick(this);
  }

  int left = 0, count = 0;
  double scale = 0;
  bool visible = false;
  std::string caption;
  std::vector<std::string> lines{"default"};
  TColor color = clNone;
  TTestAlign align = TTestAlign::alNone;
  TTestFont font;
  TTestWall wall;
  TNotifyEvent OnClick;
};

class TTestPanel : public TTestControl {
 public:
  using TTestControl::TTestControl;
  int border = 0;
};

struct TTestValues : TPersistent {
  std::string name;
  TTestAlign order = TTestAlign::alNone;
  double multiplier = 0;
};
class TTestSeries : public TTestItem {
 public:
  using TTestItem::TTestItem;
  TTestValues x_values;
};

// A form that reads its own description in its constructor.
class TTestForm : public TTestControl {
 public:
  explicit TTestForm(TComponent* owner) : TTestControl(owner) {}
  TTestForm(TComponent* owner, const TClassRegistry& classes, std::string_view text)
      : TTestControl(owner) {
    handlers.Add("ButtonClick", [this](TComponent* sender) { clicks.push_back(sender); });
    TFormReader(&handlers, classes).Read(*this, text);
  }
  THandlerTable handlers;
  std::vector<TComponent*> clicks;
};

// A component whose Loaded fails when it is named fail_in; the root (the one
// without an owner) remembers what it owns, as a form wiring its controls does.
std::string fail_in;
std::vector<TComponent*> seen_by_root;
std::set<const TComponent*> probes_alive;

class TLoadProbe : public TTestItem {
 public:
  explicit TLoadProbe(TComponent* owner) : TTestItem(owner) { probes_alive.insert(this); }
  ~TLoadProbe() override { probes_alive.erase(this); }

 protected:
  void Loaded() override {
    TTestItem::Loaded();
    if (Name() == fail_in) throw Exception("cannot start " + Name());
    if (Owner() == nullptr)
      for (int i = 0; i < ComponentCount(); ++i) seen_by_root.push_back(Components(i));
  }
};

void RegisterTestClasses(TClassRegistry& r) {
  r.Register<TTestBrush>("TTestBrush", "TPersistent").Color("Color", &TTestBrush::color);
  r.Register<TTestWall>("TTestWall", "TPersistent")
      .Int("Size", &TTestWall::size)
      .Object("Brush", &TTestWall::brush, "TTestBrush");
  r.Register<TTestFont>("TTestFont", "TPersistent")
      .Int("Height", &TTestFont::height)
      .Int("Charset", &TTestFont::charset, {{"ANSI_CHARSET", 0}, {"DEFAULT_CHARSET", 1}})
      .Set<unsigned>("Style", &TTestFont::style,
                     {{"fsBold", kBold}, {"fsItalic", kItalic}, {"fsUnderline", kUnderline}});
  r.Register<TTestItem>("TTestItem", "TComponent");
  const TIdentList<TTestAlign> aligns = {{"alNone", TTestAlign::alNone},
                                         {"alTop", TTestAlign::alTop},
                                         {"alClient", TTestAlign::alClient}};
  r.Register<TTestControl>("TTestControl", "TTestItem")
      .Int("Left", &TTestControl::SetLeft)
      .Int("Count", &TTestControl::SetCount)
      .Double("Scale", &TTestControl::SetScale)
      .Bool("Visible", [](TTestControl& c, bool v) { c.visible = v, c.Note("Visible"); })
      .String("Caption", &TTestControl::SetCaption)
      .Strings("Lines", &TTestControl::lines)
      .Color("Color", &TTestControl::color)
      .Enum("Align", &TTestControl::align, aligns)
      .Object("Font", &TTestControl::Font, "TTestFont")
      .Object(
          "BackWall", [](TTestControl& c) { return &c.wall; }, "TTestWall")
      .Event("OnClick", &TTestControl::OnClick);
  // Overrides Left of its base; Caption and the rest are inherited.
  r.Register<TTestPanel>("TTestPanel", "TTestControl")
      .Int("Border", &TTestPanel::border)
      .Int("Left", [](TTestPanel& p, int v) { p.left = 2 * v, p.Note("PanelLeft"); });
  r.Register<TTestValues>("TTestValues", "TPersistent")
      .String("Name", &TTestValues::name)
      .Enum("Order", &TTestValues::order, aligns)
      .Double("Multiplier", &TTestValues::multiplier);
  r.Register<TTestSeries>("TTestSeries", "TTestItem")
      .Object("XValues", &TTestSeries::x_values, "TTestValues");
  r.Register<TTestForm>("TTestForm", "TTestControl");
  r.Register<TLoadProbe>("TLoadProbe", "TTestItem");
}

class FormReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    journal.clear();
    set_while_idle = 0;
    RegisterTestClasses(classes);
  }
  void TearDown() override { EXPECT_EQ(live, 0) << "components left behind"; }

  // A free-standing tree; its root is owned by the caller.
  std::unique_ptr<TComponent> Create(std::string_view text) {
    return std::unique_ptr<TComponent>(TFormReader(&handlers, classes).Create(text, nullptr));
  }
  std::string CreateError(std::string_view text) {
    try {
      Create(text);
    } catch (const EReadError& e) {
      return e.Message();
    }
    return "no error";
  }

  TClassRegistry classes;
  THandlerTable handlers;
};

template <class T>
T* Child(TComponent& root, const char* name) {
  T* c = dynamic_cast<T*>(root.FindComponent(name));
  EXPECT_NE(c, nullptr) << name;
  return c;
}

TEST_F(FormReaderTest, AppliesPropertiesInFileOrderAroundNestedObjects) {
  auto root = Create(
      "object Form1: TTestForm\n"
      "  Left = 5\n"
      "  Caption = 'one'\n"
      "  object Button1: TTestControl\n"
      "    Left = 7\n"
      "  end\n"
      "  Left = 6   // applied again, after the button\n"
      "end\n");
  std::vector<std::string> expected = {"Form1.Left=5",   "Form1.Caption=one", "Button1.parent",
                                       "Button1.Left=7", "Form1.Left=6",      "Button1.Loaded",
                                       "Form1.Loaded"};
  EXPECT_EQ(journal, expected);
  EXPECT_EQ(static_cast<TTestForm*>(root.get())->left, 6);
  EXPECT_EQ(root->Name(), "Form1");
}

TEST_F(FormReaderTest, ConvertsEveryValueKind) {
  handlers.Add("ButtonClick", [](TComponent*) {});
  auto root = Create(
      "\xEF\xBB\xBF"
      "object Form1: TTestControl\r\n"
      "  Left = -412\r\n"
      "  Count = 0x1F\r\n"
      "  Scale = 0.1\r\n"
      "  Visible = True\r\n"
      "  Caption = 'It''s // no comment: Wyniki oblicze\xC5\x84'\r\n"
      "  Lines = ('Wyniki oblicze\xC5\x84 x, f(x)'  // a comment inside the list\r\n"
      "           '' 'three')\r\n"
      "  Color = clBtnFace\r\n"
      "  Align = alClient\r\n"
      "  Font.Style = [fsBold, fsUnderline]\r\n"
      "  Font.Charset = DEFAULT_CHARSET\r\n"
      "  OnClick = ButtonClick\r\n"
      "end\r\n");
  auto& c = static_cast<TTestControl&>(*root);
  EXPECT_EQ(c.left, -412);
  EXPECT_EQ(c.count, 31);
  EXPECT_DOUBLE_EQ(c.scale, 0.1);
  EXPECT_TRUE(c.visible);
  EXPECT_EQ(c.caption, "It's // no comment: Wyniki oblicze\xC5\x84");
  EXPECT_EQ(c.lines, (std::vector<std::string>{"Wyniki oblicze\xC5\x84 x, f(x)", "", "three"}));
  EXPECT_EQ(c.color, 0x8000000Fu);
  EXPECT_EQ(c.align, TTestAlign::alClient);
  EXPECT_EQ(c.font.style, kBold | kUnderline);
  EXPECT_EQ(c.font.charset, 1);
  EXPECT_TRUE(c.OnClick);

  // The other spellings of the same kinds.
  root = Create(
      "object Form1: TTestControl\n"
      "  Scale = -3\n"
      "  Visible = False\n"
      "  Lines = ()\n"
      "  Color = -2147483633\n"
      "  Font.Style = []\n"
      "  Font.Charset = 238\n"
      "end\n");
  auto& d = static_cast<TTestControl&>(*root);
  EXPECT_EQ(d.scale, -3.0);
  EXPECT_FALSE(d.visible);
  EXPECT_TRUE(d.lines.empty());
  EXPECT_EQ(d.color, clBtnFace);
  EXPECT_EQ(d.font.style, 0u);
  EXPECT_EQ(d.font.charset, 238);
  root = Create("object F: TTestControl\n Color = 0xC0C0C0\n Scale = 2.5e-3\nend");
  EXPECT_EQ(static_cast<TTestControl&>(*root).color, clSilver);
  EXPECT_DOUBLE_EQ(static_cast<TTestControl&>(*root).scale, 0.0025);
}

TEST_F(FormReaderTest, NestedPathsReachSubObjectsAndInheritedTablesApply) {
  auto root = Create(
      "object Form1: TTestForm\n"
      "  Font.Height = -11\n"
      "  BackWall.Brush.Color = clWhite\n"
      "  BackWall.Size = 3\n"
      "  object Chart1: TTestPanel\n"
      "    Left = 8\n"
      "    Border = 2\n"
      "    Caption = 'chart'\n"
      "    BackWall.Brush.Color = clSilver\n"
      "    object Series1: TTestSeries\n"
      "      XValues.Name = 'X'\n"
      "      XValues.Order = alTop\n"
      "      XValues.Multiplier = 1\n"
      "    end\n"
      "  end\n"
      "end\n");
  auto& form = static_cast<TTestForm&>(*root);
  EXPECT_EQ(form.font.height, -11);
  EXPECT_EQ(form.wall.brush.color, clWhite);
  EXPECT_EQ(form.wall.size, 3);
  auto* chart = Child<TTestPanel>(form, "Chart1");
  EXPECT_EQ(chart->left, 16) << "the panel's own Left comes before its base's";
  EXPECT_EQ(chart->border, 2);
  EXPECT_EQ(chart->caption, "chart");
  EXPECT_EQ(chart->wall.brush.color, clSilver);
  auto* series = Child<TTestSeries>(form, "Series1");
  EXPECT_EQ(series->x_values.name, "X");
  EXPECT_EQ(series->x_values.order, TTestAlign::alTop);
  EXPECT_EQ(series->x_values.multiplier, 1.0);
}

TEST_F(FormReaderTest, OwnerIsTheRootParentIsTheEnclosingObjectLoadedRunsOnceAtTheEnd) {
  auto root = Create(
      "object Form1: TTestForm\n"
      "  object Panel1: TTestPanel\n"
      "    object Button1: TTestControl\n"
      "      Left = 1\n"
      "    end\n"
      "  end\n"
      "  object Chart1: TTestPanel\n"
      "    object Series1: TTestSeries\n"
      "    end\n"
      "  end\n"
      "end\n");
  auto& form = static_cast<TTestForm&>(*root);
  EXPECT_EQ(form.ComponentCount(), 4);
  const char* names[] = {"Panel1", "Button1", "Chart1", "Series1"};
  const char* parents[] = {"Form1", "Panel1", "Form1", "Chart1"};
  for (int i = 0; i < 4; ++i) {
    auto* c = dynamic_cast<TTestItem*>(form.Components(i));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Name(), names[i]) << "creation order";
    EXPECT_EQ(c->Owner(), &form);
    ASSERT_NE(c->parent, nullptr);
    EXPECT_EQ(c->parent->Name(), parents[i]);
    EXPECT_EQ(c->loaded, 1);
    EXPECT_FALSE(c->IsLoading());
  }
  EXPECT_EQ(form.loaded, 1);
  EXPECT_FALSE(form.IsLoading());
  EXPECT_EQ(set_while_idle, 0);
  // The parent is known before the first property; Loaded comes after all,
  // the root's last, so that it meets its components ready.
  std::vector<std::string> tail(journal.end() - 5, journal.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"Panel1.Loaded", "Button1.Loaded", "Chart1.Loaded",
                                            "Series1.Loaded", "Form1.Loaded"}));
  auto parent = std::find(journal.begin(), journal.end(), "Button1.parent");
  ASSERT_NE(parent, journal.end());
  EXPECT_EQ(parent[1], "Button1.Left=1");
}

TEST_F(FormReaderTest, FormReadsItsOwnDescriptionAndBindsHandlersByName) {
  TTestForm owner(nullptr);
  auto* form = new TTestForm(&owner, classes,
                             "object Main: TTestForm\n"
                             "  Caption = 'main'\n"
                             "  object BitBtn3: TTestControl\n"
                             "    OnClick = ButtonClick\n"
                             "  end\n"
                             "  object BitBtn4: TTestControl\n"
                             "    OnClick = ButtonClick\n"
                             "  end\n"
                             "end\n");
  EXPECT_EQ(owner.FindComponent("Main"), form);
  EXPECT_EQ(form->caption, "main");
  EXPECT_EQ(form->loaded, 1);
  auto* b4 = Child<TTestControl>(*form, "BitBtn4");
  auto* b3 = Child<TTestControl>(*form, "BitBtn3");
  b4->Click();
  b3->Click();
  EXPECT_EQ(form->clicks, (std::vector<TComponent*>{b4, b3}));
  // A free-standing tree owned by another component goes with it.
  auto* tree = TFormReader(nullptr, classes).Create("object T: TTestPanel\nend", &owner);
  EXPECT_EQ(tree->Owner(), &owner);
}

// Each broken description, the message and the components it must not leave.
struct BrokenCase {
  const char* text;
  const char* message;
  bool closed = true;  // the root's end follows
};

// Lines 1-5 create Panel1 and Button1, so a failure on line 6 has something
// to clean up.
constexpr const char* kPrefix =
    "object Form1: TTestForm\n"
    "  object Panel1: TTestPanel\n"
    "    object Button1: TTestControl\n"
    "    end\n"
    "  end\n";

const BrokenCase kBroken[] = {
    {"  object X: TNope\n  end\n", "Line 6: Class TNope not found"},
    {"  object X: TTestFont\n  end\n", "Line 6: Class TTestFont cannot be created"},
    {"  Colr = 1\n", "Line 6: Property Colr not found in class TTestForm"},
    {"  Font.Colr = 1\n", "Line 6: Property Font.Colr not found in class TTestFont"},
    {"  BackWall.Brush.Colr = 1\n",
     "Line 6: Property BackWall.Brush.Colr not found in class TTestBrush"},
    {"  Left.Size = 1\n", "Line 6: Property Left is not an object"},
    {"  Left = 'abc'\n", "Line 6: Invalid value for property Left: 'abc'"},
    {"  Left = 2147483648\n", "Line 6: Invalid value for property Left: 2147483648"},
    {"  Left = 1.5\n", "Line 6: Invalid value for property Left: 1.5"},
    {"  Scale = 1e999\n", "Line 6: Invalid value for property Scale: 1e999"},
    {"  Visible = Yes\n", "Line 6: Invalid value for property Visible: Yes"},
    {"  Color = clPink\n", "Line 6: Invalid value for property Color: clPink"},
    {"  Color = 0x100000000\n", "Line 6: Invalid value for property Color: 0x100000000"},
    {"  Align = alNowhere\n", "Line 6: Invalid value for property Align: alNowhere"},
    {"  Font.Style = [fsBold, fsBlink]\n",
     "Line 6: Invalid value for property Font.Style: fsBlink"},
    {"  Caption = ('a')\n", "Line 6: Invalid value for property Caption: ('a')"},
    {"  Font = 3\n", "Line 6: Invalid value for property Font: 3"},
    {"  OnClick = Nope\n", "Line 6: Handler Nope not found for event OnClick"},
    {"  Count = -1\n", "Line 6: Error setting property Count: Count must not be negative"},
    {"  object Button1: TTestControl\n  end\n", "Line 6: A component named Button1 already exists"},
    {"  object Button2: TTestControl\n", "Line 6: Missing end of object Button2", false},
    {"  Left 5\n", "Line 6: Malformed line: expected = after the property name"},
    {"  Left = 5 6\n", "Line 6: Malformed line: unexpected text at the end"},
    {"  Left =\n", "Line 6: Malformed line: expected a value"},
    {"  Left = 12ab\n", "Line 6: Malformed line: malformed number"},
    {"  Caption = 'open\n", "Line 6: Malformed line: unterminated string"},
    {"  Caption = '\xC5'\n", "Line 6: Malformed line: invalid UTF-8 in a string"},
    {"  object Button2 TTestControl\n", "Line 6: Malformed line: expected : after the object name"},
    {"  Font.Style = [fsBold fsItalic]\n", "Line 6: Malformed line: expected ] or , in the set"},
    {"  Lines = ('a'\n   'b'\n   5)\n",
     "Line 8: Malformed line: expected a string or ) in the list"},
    {"  Lines = ('a'\n", "Line 6: Missing ) of the list", false},
    {"  Left = {0C 4}\n", "Line 6: Malformed line: expected two hex digits or } in the data"},
    {"  Left = {0C\n  1F\n", "Line 6: Missing } of the data", false},
    {"  Left = {0C}\n", "Line 6: Invalid value for property Left: {0C}"},
    {"  # Left = 1\n", "Line 6: Malformed line: expected object, end or a property"},
    {"end\nend\n", "Line 7: Text after the end of the description", false},
};

TEST_F(FormReaderTest, BrokenDescriptionsNameTheLineAndLeaveNothingBehind) {
  handlers.Add("ButtonClick", [](TComponent*) {});
  for (const BrokenCase& c : kBroken) {
    std::string text = std::string(kPrefix) + c.text + (c.closed ? "end\n" : "");
    EXPECT_EQ(CreateError(text), c.message) << text;
    EXPECT_EQ(live, 0) << text;
  }
  EXPECT_EQ(CreateError(""), "Line 1: Description holds no object");
  EXPECT_EQ(CreateError("// nothing\n\n"), "Line 3: Description holds no object");
  EXPECT_EQ(CreateError("object F: TTestForm\nend\nend\n"),
            "Line 3: Text after the end of the description");
  EXPECT_EQ(CreateError("object F: TTestForm\n  object G: TTestPanel\n"),
            "Line 2: Missing end of object G");
  EXPECT_EQ(CreateError("end\n"), "Line 1: end without object");
  EXPECT_EQ(CreateError("Left = 1\n"), "Line 1: Malformed line: property outside of an object");
  std::string deep;
  for (int i = 0; i < kMaxFormNesting + 1; ++i)
    deep += "object P" + std::to_string(i) + ": TTestPanel\n";
  EXPECT_EQ(CreateError(deep), "Line 65: Objects nested too deep");
}

TEST_F(FormReaderTest, FailedReadIntoAnExistingRootKeepsTheRootOnly) {
  TTestForm form(nullptr);
  new TTestControl(&form);  // created before the read: must survive it
  auto read = [&](const std::string& text) {
    try {
      TFormReader(&handlers, classes).Read(form, text);
    } catch (const EReadError& e) {
      return e.Message();
    }
    return std::string("no error");
  };
  EXPECT_EQ(read(std::string(kPrefix) + "  Left = 9\n  OnClick = Nope\nend\n"),
            "Line 7: Handler Nope not found for event OnClick");
  EXPECT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(live, 2);
  EXPECT_FALSE(form.IsLoading());
  EXPECT_EQ(form.loaded, 0);
  EXPECT_EQ(form.left, 9) << "properties already applied to the root stay";
  EXPECT_EQ(read("object Form1: TTestPanel\nend\n"),
            "Line 1: Description is for class TTestPanel, not TTestForm");
  EXPECT_EQ(read("object Form1: TTestForm\nend\n"), "no error");
  EXPECT_EQ(form.loaded, 1);

  struct TUnregistered : TTestControl {
    using TTestControl::TTestControl;
  } other(nullptr);
  try {
    TFormReader(nullptr, classes).Read(other, "object X: TTestControl\nend\n");
    FAIL() << "no exception";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(),
              "Line 1: Class of the root is not registered; the description is for TTestControl");
  }
}

// A Loaded that fails undoes the read like any other error: the root is left
// holding nothing that the undo destroyed.
TEST_F(FormReaderTest, FailingLoadedNamesTheLineAndLeavesTheRootNothingDestroyed) {
  const char* text =
      "object Form1: TLoadProbe\n"
      "  object A: TLoadProbe\n"
      "    object B: TLoadProbe\n"
      "    end\n"
      "  end\n"
      "  object C: TLoadProbe\n"
      "  end\n"
      "end\n";
  struct {
    const char* fails;
    bool into_existing_root;
    const char* message;
  } const cases[] = {
      {"A", true, "Line 2: Error loading component A: cannot start A"},
      {"B", true, "Line 3: Error loading component B: cannot start B"},
      {"C", true, "Line 6: Error loading component C: cannot start C"},
      {"C", false, "Line 6: Error loading component C: cannot start C"},
      {"Form1", true, "Line 1: Error loading component Form1: cannot start Form1"},
      {"Form1", false, "Line 1: Error loading component Form1: cannot start Form1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.fails) + (c.into_existing_root ? " read" : " created"));
    fail_in = c.fails;
    seen_by_root.clear();
    std::string message = "no error";
    {
      TLoadProbe root(nullptr);
      try {
        if (c.into_existing_root)
          TFormReader(nullptr, classes).Read(root, text);
        else
          Create(text);
      } catch (const Exception& e) {
        message = e.Message();
      }
      EXPECT_EQ(message, c.message);
      for (TComponent* s : seen_by_root)
        EXPECT_TRUE(probes_alive.count(s)) << "the root holds a destroyed component";
      EXPECT_EQ(root.ComponentCount(), 0);
      EXPECT_FALSE(root.IsLoading());
      EXPECT_EQ(live, 1);
    }
  }
  // Nothing failing: the root meets every component, last.
  fail_in.clear();
  seen_by_root.clear();
  auto root = Create(text);
  EXPECT_EQ(seen_by_root.size(), 3u);
  EXPECT_EQ(journal.back(), "Form1.Loaded");
  root.reset();
  EXPECT_TRUE(probes_alive.empty());
}

TEST_F(FormReaderTest, ResourcesAreFoundByName) {
  TTestForm form(nullptr);
  TFormReader reader(nullptr, classes);
  try {
    reader.ReadResource(form, "NO_SUCH_FORM");
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Resource NO_SUCH_FORM not found");
  }
  // A resource that is not a form description fails as one.
  EXPECT_THROW(reader.CreateFromResource("app.strings", nullptr), EReadError);
}

TEST_F(FormReaderTest, RegistrationMistakesAreRefused) {
  EXPECT_THROW(classes.Register<TTestControl>("TTestControl", "TComponent"), Exception);
  EXPECT_THROW(classes.Register<TTestControl>("TOther", "TMissingBase"), Exception);
  EXPECT_THROW(classes.Properties<TTestControl>("TTestControl").Int("Left", &TTestControl::SetLeft),
               Exception);
  handlers.Add("A", {});
  EXPECT_THROW(handlers.Add("A", {}), Exception);
}

// Any bytes in: an EReadError or a tree, never a crash, nothing left behind.
TEST_F(FormReaderTest, GarbageAndTruncatedTextsFailCleanly) {
  handlers.Add("ButtonClick", [](TComponent*) {});
  const std::string good = std::string(kPrefix) +
                           "  Caption = 'Wyniki oblicze\xC5\x84'\n"
                           "  Lines = ('a' 'b')\n"
                           "  Font.Style = [fsBold]\n"
                           "  Scale = -0.5e2\n"
                           "  Color = 0x8000000F\n"
                           "  OnClick = ButtonClick // done\n"
                           "end\n";
  ASSERT_EQ(CreateError(good), "no error");
  auto feed = [&](std::string_view text) {
    try {
      Create(text);
    } catch (const EReadError&) {
    }
    ASSERT_EQ(live, 0);
  };
  for (size_t n = 0; n < good.size(); ++n) feed(std::string_view(good).substr(0, n));
  const char replacements[] = {'\'', '(', ')', '[', '\n', '.', '=', '\0', '\xC5', ' ', '-', 'x'};
  for (size_t i = 0; i < good.size(); ++i)
    for (char r : replacements) {
      std::string text = good;
      text[i] = r;
      feed(text);
    }
  std::mt19937 random(1234);
  for (int i = 0; i < 2000; ++i) {
    std::string text(random() % 200, '\0');
    for (char& ch : text) ch = static_cast<char>(random());
    feed(text);
  }
}

}  // namespace
