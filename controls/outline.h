#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/outline_node.h"
#include "framework/bitmap.h"
#include "framework/custom_grid.h"

namespace nitko {

class TOutlineStrings;
class TStream;

// How rows are drawn: text only, with plus/minus buttons, with folder and
// leaf pictures, or with the lines of the tree.
enum class TOutlineLook : uint8_t {
  lkText,
  lkButtonText,
  lkPictureText,
  lkButtonPictureText,
  lkTreeText,
  lkTreePictureText,
};

enum class TOutlineType : uint8_t { otStandard, otOwnerDraw };

enum class TOutlineOption : unsigned {
  ooDrawTreeRoot = 1,
  ooDrawFocusRect = 2,
  ooStretchBitmaps = 4,
};
using TOutlineOptions = unsigned;  // a set of TOutlineOption bits
constexpr TOutlineOptions operator|(TOutlineOption a, TOutlineOption b) {
  return static_cast<unsigned>(a) | static_cast<unsigned>(b);
}
constexpr bool Has(TOutlineOptions set, TOutlineOption o) {
  return (set & static_cast<unsigned>(o)) != 0;
}

// The state an owner-drawn row is drawn in.
using TOwnerDrawState = unsigned;
inline constexpr TOwnerDrawState odSelected = 0x01;
inline constexpr TOwnerDrawState odFocused = 0x10;

// The pictures by index, and the bitmap resources they start from.
inline constexpr int kPicturePlus = 0;
inline constexpr int kPictureMinus = 1;
inline constexpr int kPictureOpen = 2;
inline constexpr int kPictureClosed = 3;
inline constexpr int kPictureLeaf = 4;
inline constexpr int kPictureCount = 5;

// The longest line LoadLines reads, in bytes without its line break.
inline constexpr size_t kOutlineLineBufferSize = 4096;

using TOutlineEvent = std::function<void(TComponent* sender, int index)>;
using TDrawItemEvent =
    std::function<void(TComponent* sender, int index, const TRect& rect, TOwnerDrawState state)>;

// A tree of items shown one expanded item per row of a one-column grid.
// Items are numbered 1, 2, 3, ... depth first, shown or not; numbers are
// given lazily and trusted up to the last node numbered, so a change costs
// what it touches and a lookup by number descends by halving. The tree
// saves to and loads from text whose tab indentation gives each line's
// depth.
class TCustomOutline : public TCustomGrid {
 public:
  explicit TCustomOutline(TComponent* owner);
  ~TCustomOutline() override;

  // The item with that number; "Invalid outline index" for a number <= 0,
  // "Outline index not found" beyond the last.
  TOutlineNode* ItemAt(int index);
  // Number of the last item, 0 when empty.
  int ItemCount() const { return count_; }

  // Each adds an item and returns its number. A negative index (and for
  // AppendChild any index < 0) raises to the caller; any other failure is
  // shown by the application's exception handler and the result is 0.
  // Index 0 adds a top-level item at the end.
  // A new last child of the parent of item index.
  int AppendSibling(int index, const std::string& text, void* data = nullptr);
  // A new last child of item index.
  int AppendChild(int index, const std::string& text, void* data = nullptr);
  // A new item before item index among its siblings.
  int InsertBefore(int index, const std::string& text, void* data = nullptr);
  // Destroys the item and everything below it; raises for a number <= 0 or
  // one no item has.
  void RemoveItem(int index);
  void Clear();

  // The selected item's number: the item in the current row until one is
  // chosen, or the nearest shown ancestor of a hidden one; 0 when empty.
  int SelectedIndex();
  // Selects the item (0 is item 1) and moves the current row to it, or to
  // its nearest shown ancestor; "Invalid selection" for a negative number
  // or 0 on an empty outline. Ignored while loading.
  void SetSelectedIndex(int index);
  void ExpandAll();
  void CollapseAll();
  // Changes between the two are shown once, at the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();

  // The node shown in a grid row, and the row of a shown node (-1 hidden).
  TOutlineNode* NodeAtRow(int row);
  int RowOfNode(TOutlineNode* node);

  // Every item depth first as (level - 1) tabs, its text and CR LF; texts
  // of any length are written whole.
  void SaveLines(TStream& out);
  // Replaces the tree by the text's, all collapsed. A line one step deeper
  // than the one before is a child of it; "File load error" for a line more
  // than one step deeper or one that climbs above the top level, "Line too
  // long" for a line longer than kOutlineLineBufferSize - 1 bytes,
  // "Maximum outline depth exceeded" below level 256. On any error the
  // outline stays as it was.
  void LoadLines(TStream& in);
  void SaveToFile(const std::string& fileName);
  void LoadFromFile(const std::string& fileName);

  // The items as a string list: line i is item i + 1 written as (level - 1)
  // tabs and its text.
  TOutlineStrings& Lines() { return *lines_; }

  const std::string& Separator() const { return separator_; }
  void SetSeparator(const std::string& value) { separator_ = value; }
  TOutlineLook Look() const { return look_; }
  void SetLook(TOutlineLook value);
  TOutlineType Style() const { return style_; }
  void SetStyle(TOutlineType value);
  // Hides the grid's options, which an outline keeps empty.
  TOutlineOptions Options() const { return options_; }
  void SetOptions(TOutlineOptions value);
  int ItemHeight() const { return item_height_; }
  void SetItemHeight(int value);
  int FontHeight() const { return font_height_; }

  // A copy is kept; null clears the picture.
  TBitmap& Picture(int index) { return *pictures_.at(static_cast<size_t>(index)); }
  void SetPicture(int index, const TBitmap* value);
  // Bit i: picture i was set through its property.
  uint8_t PictureFlags() const { return picture_flags_; }

  // Form storage: the one-byte "Data" of picture flags and the "Nodes" list
  // of lines, each with what a writer stores (nothing when not stored).
  void ReadData(const TBytes& value);
  std::optional<TBytes> StoredData() const;
  void ReadNodes(const std::vector<std::string>& lines);
  std::optional<std::vector<std::string>> StoredNodes();
  // A picture read from a form description's BMP bytes.
  void ReadPicture(int index, const TBytes& bmp);

  // Selects the item in the current row, then the click notification.
  void Click() override;

  TOutlineEvent OnExpand;
  TOutlineEvent OnCollapse;
  TDrawItemEvent OnDrawItem;

 protected:
  // An item is about to be expanded or collapsed; call OnExpand/OnCollapse.
  virtual void Expand(int index);
  virtual void Collapse(int index);
  // The end of loading from a form: pictures stored as cleared are cleared,
  // then the end-of-loading step of the tree.
  void Loaded() override;

  void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void DblClick() override;
  void Resize() override;
  void FontChanged() override;

 private:
  friend class TOutlineNode;
  friend class TOutlineStrings;

  enum class AttachMode { Sibling, Child, Insert };
  struct Geometry;
  class UpdateScope;

  // Numbering.
  int NumberOf(TOutlineNode* node);
  bool AtOrBefore(const TOutlineNode* a, const TOutlineNode* b) const;
  TOutlineNode* FindNumber(int index);
  void ChangedAfter(TOutlineNode* before);
  static TOutlineNode* NextInOrder(TOutlineNode* node);
  static TOutlineNode* PrevInOrder(TOutlineNode* node);
  static TOutlineNode* LastInOrder(TOutlineNode* node);

  // Structure.
  TOutlineNode* NewNode(const std::string& text, void* data);
  int Attach(int index, const std::string& text, void* data, AttachMode mode);
  void Link(TOutlineNode* parent, std::unique_ptr<TOutlineNode> node, size_t pos);
  // The shown rows below from and its ancestors change by delta.
  void AddToChain(TOutlineNode* from, int delta);
  void SetNodeExpanded(TOutlineNode* node, bool value);
  void MoveCursor(int index);
  void InstallRoot(std::unique_ptr<TOutlineNode> root, int count);
  void EndLoadingTree();
  TOutlineNode* VisibleAncestor(TOutlineNode* node) const;
  TOutlineNode* CurrentNode();
  void SelectNode(TOutlineNode* node);
  void Toggle(TOutlineNode* node);
  bool Quiet() const { return bulk_loading_ || update_count_ > 0; }
  // Visible rows changed: row count, current row, column width.
  void RowsChanged(TOutlineNode* added = nullptr);
  void NodeTextChanged(TOutlineNode* node);

  // Text format.
  std::unique_ptr<TOutlineNode> ParseLines(const std::function<size_t(char*, size_t)>& read,
                                           int& count);
  void ReplaceTree(const std::function<size_t(char*, size_t)>& read);

  // Sizes and drawing (outline_drawing.cpp).
  Geometry Measures() const;
  void ApplyRowHeight();
  int TextWidthOf(TOutlineNode* node);
  int RowWidth(TOutlineNode* node);
  bool SizesColumnToRows() const;
  void UpdateColumnWidth();
  void WidenColumnFor(TOutlineNode* node);
  void ResetTextWidths();
  void LoadPictures();
  void DrawPicture(const TBitmap& picture, int slotLeft, const TRect& cell);
  void DrawTreeLines(TOutlineNode* node, const TRect& cell);
  bool OnButton(TOutlineNode* node, int row, int x, int y);

  std::unique_ptr<TOutlineNode> root_;
  TOutlineNode* cursor_ = nullptr;
  TOutlineNode* selected_ = nullptr;
  TOutlineNode* indexed_up_to_ = nullptr;
  // Positions of indexed_up_to_'s ancestors by level, rebuilt when stale.
  std::vector<int> indexed_path_;
  bool indexed_path_stale_ = true;
  // The last row looked up, for the next row down.
  int cached_row_ = -1;
  TOutlineNode* cached_row_node_ = nullptr;
  int count_ = 0;
  std::string separator_ = "\\";
  std::unique_ptr<TOutlineStrings> lines_;
  TOutlineLook look_ = TOutlineLook::lkTreePictureText;
  TOutlineType style_ = TOutlineType::otStandard;
  TOutlineOptions options_ = TOutlineOption::ooDrawTreeRoot | TOutlineOption::ooDrawFocusRect;
  int item_height_ = 0;
  int font_height_ = 0;
  std::array<std::unique_ptr<TBitmap>, kPictureCount> pictures_;
  uint8_t picture_flags_ = 0;
  uint8_t loaded_picture_flags_ = 0;
  TCanvas measure_;  // measures texts in the control's font
  bool bulk_loading_ = false;
  bool setting_width_ = false;
  bool setting_height_ = false;
  bool tearing_down_ = false;
  int update_count_ = 0;
};

}  // namespace nitko
