// The outline's text format and what a form description stores of it.
#include <cstring>
#include <utility>

#include "controls/outline.h"
#include "framework/file_stream.h"

namespace nitko {

namespace {

constexpr size_t kLongestLine = kOutlineLineBufferSize - 1;
constexpr size_t kChunk = 1 << 16;

// Reads the whole text in chunks and hands out its lines: each ends at CR
// LF, a lone CR or a lone LF, or at the end of the text.
class LineSplitter {
 public:
  explicit LineSplitter(const std::function<size_t(char*, size_t)>& read)
      : read_(read), buffer_(kChunk + kOutlineLineBufferSize) {}

  // False at the end of the text; "Line too long" for a line that does not
  // fit the line buffer.
  bool Next(std::string_view& line) {
    for (;;) {
      if (skip_lf_ && begin_ < end_) {
        if (buffer_[begin_] == '\n') ++begin_;
        skip_lf_ = false;
      }
      const char* data = buffer_.data();
      size_t i = begin_;
      while (i < end_ && data[i] != '\r' && data[i] != '\n') ++i;
      if (i - begin_ > kLongestLine) throw EOutlineError(SOutlineLongLine);
      if (i < end_) {
        line = std::string_view(data + begin_, i - begin_);
        skip_lf_ = data[i] == '\r';
        begin_ = i + 1;
        return true;
      }
      if (eof_) {
        if (begin_ == end_) return false;
        line = std::string_view(data + begin_, end_ - begin_);
        begin_ = end_;
        return true;
      }
      Refill();
    }
  }

 private:
  void Refill() {
    // The unfinished line (at most a line buffer) moves to the front.
    const size_t rest = end_ - begin_;
    std::memmove(buffer_.data(), buffer_.data() + begin_, rest);
    begin_ = 0;
    end_ = rest;
    const size_t got = read_(buffer_.data() + end_, buffer_.size() - end_);
    if (got == 0) eof_ = true;
    end_ += got;
  }

  const std::function<size_t(char*, size_t)>& read_;
  std::vector<char> buffer_;
  size_t begin_ = 0, end_ = 0;
  bool eof_ = false;
  bool skip_lf_ = false;
};

}  // namespace

// Builds a tree of its own, so a failure leaves the outline's untouched.
std::unique_ptr<TOutlineNode> TCustomOutline::ParseLines(
    const std::function<size_t(char*, size_t)>& read, int& count) {
  std::unique_ptr<TOutlineNode> root(NewNode("", nullptr));
  root->expanded_ = true;
  count = 0;
  LineSplitter lines(read);
  std::string_view line;
  TOutlineNode* prev = nullptr;
  int prevDepth = 0;
  while (lines.Next(line)) {
    size_t depth = 0;
    while (depth < line.size() && (line[depth] == '\t' || line[depth] == ' ')) ++depth;
    const int d = static_cast<int>(depth);
    TOutlineNode* parent = nullptr;
    if (prev == nullptr) {
      if (d > 1) throw EOutlineError(SOutlineFileLoad);
      parent = root.get();
    } else if (d == prevDepth + 1) {
      parent = prev;
    } else if (d <= prevDepth) {
      parent = prev;
      for (int k = prevDepth - d + 1; k > 0 && parent != nullptr; --k) parent = parent->parent_;
      if (parent == nullptr) throw EOutlineError(SOutlineFileLoad);
    } else {
      throw EOutlineError(SOutlineFileLoad);
    }
    if (parent->level_ > 255) throw EOutlineError(SOutlineMaxLevels);
    std::unique_ptr<TOutlineNode> node(NewNode(std::string(line.substr(depth)), nullptr));
    node->parent_ = parent;
    node->level_ = static_cast<int16_t>(parent->level_ + 1);
    node->pos_ = static_cast<int>(parent->children_.size());
    prev = node.get();
    prevDepth = d;
    // Lines come depth first, so each gets its number as it comes.
    parent->children_.push_back({++count, std::move(node)});
  }
  root->expand_count_ = static_cast<int>(root->children_.size());
  return root;
}

void TCustomOutline::ReplaceTree(const std::function<size_t(char*, size_t)>& read) {
  int count = 0;
  std::unique_ptr<TOutlineNode> tree;
  {
    const bool was = std::exchange(bulk_loading_, true);
    try {
      tree = ParseLines(read, count);
    } catch (...) {
      bulk_loading_ = was;
      throw;
    }
    bulk_loading_ = was;
  }
  InstallRoot(std::move(tree), count);
  indexed_up_to_ = LastInOrder(root_.get());
  if (!IsLoading()) EndLoadingTree();
}

void TCustomOutline::LoadLines(TStream& in) {
  ReplaceTree([&in](char* buffer, size_t size) -> size_t {
    return static_cast<size_t>(in.Read(buffer, static_cast<long long>(size)));
  });
}

void TCustomOutline::SaveLines(TStream& out) {
  std::string text;
  text.reserve(kChunk + kOutlineLineBufferSize);
  for (TOutlineNode* n = NextInOrder(root_.get()); n != nullptr; n = NextInOrder(n)) {
    text.append(static_cast<size_t>(n->level_ - 1), '\t');
    text += n->text_;
    text += "\r\n";
    if (text.size() >= kChunk) {
      out.WriteBuffer(text.data(), static_cast<long long>(text.size()));
      text.clear();
    }
  }
  out.WriteBuffer(text.data(), static_cast<long long>(text.size()));
}

void TCustomOutline::LoadFromFile(const std::string& fileName) {
  TFileStream in(fileName, fmOpenRead);
  LoadLines(in);
}

void TCustomOutline::SaveToFile(const std::string& fileName) {
  TFileStream out(fileName, fmCreate);
  SaveLines(out);
}

// ---- Form storage

void TCustomOutline::ReadData(const TBytes& value) {
  if (value.size() != 1) throw EOutlineError("Data holds one byte");
  loaded_picture_flags_ = value[0];
}

std::optional<TBytes> TCustomOutline::StoredData() const {
  if (picture_flags_ == 0) return std::nullopt;
  return TBytes{picture_flags_};
}

void TCustomOutline::ReadNodes(const std::vector<std::string>& lines) {
  size_t next = 0, offset = 0;
  // The lines one after another, each with its CR LF.
  ReplaceTree([&](char* buffer, size_t size) -> size_t {
    size_t done = 0;
    while (done < size && next < lines.size()) {
      const std::string& s = lines[next];
      const size_t whole = s.size() + 2;
      const size_t n = std::min(size - done, whole - offset);
      for (size_t k = 0; k < n; ++k) {
        const size_t at = offset + k;
        buffer[done + k] = at < s.size() ? s[at] : at == s.size() ? '\r' : '\n';
      }
      done += n;
      offset += n;
      if (offset == whole) {
        ++next;
        offset = 0;
      }
    }
    return done;
  });
}

std::optional<std::vector<std::string>> TCustomOutline::StoredNodes() {
  if (count_ == 0) return std::nullopt;
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(count_));
  for (TOutlineNode* n = NextInOrder(root_.get()); n != nullptr; n = NextInOrder(n))
    lines.push_back(std::string(static_cast<size_t>(n->level_ - 1), '\t') + n->text_);
  return lines;
}

void TCustomOutline::ReadPicture(int index, const TBytes& bmp) {
  TBitmap picture;
  if (!picture.LoadFromBytes(bmp)) throw EOutlineError("Invalid picture");
  SetPicture(index, &picture);
}

void TCustomOutline::Loaded() {
  TCustomGrid::Loaded();
  // Pictures stored as cleared are not in the description.
  for (int i = 0; i < kPictureCount; ++i) {
    const unsigned bit = 1u << i;
    if ((loaded_picture_flags_ & bit) && !(picture_flags_ & bit)) {
      Picture(i).SetSize(0, 0);
      picture_flags_ = static_cast<uint8_t>(picture_flags_ | bit);
    }
  }
  EndLoadingTree();
  Invalidate();
}

}  // namespace nitko
