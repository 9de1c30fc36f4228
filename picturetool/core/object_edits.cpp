#include "core/object_edits.h"

#include <algorithm>
#include <utility>

#include "core/item_list.h"
#include "core/object_geometry.h"
#include "core/text_rules.h"

namespace paint {

namespace {

int16_t Clamp16(int32_t value) { return static_cast<int16_t>(std::clamp(value, -32768, 32767)); }

}  // namespace

void RotateObject(overlay::ObfObject* object) {
  switch (object->kind) {
    case overlay::kKindText:
      object->formatFlags ^= 2;
      std::swap(object->width, object->height);
      return;
    case overlay::kKindEllipse:
    case overlay::kKindRectangle:
      if (object->points.size() >= 2) std::swap(object->points[1].x, object->points[1].y);
      std::swap(object->width, object->height);
      return;
    case overlay::kKindCurve:
    case overlay::kKindPolyline:
      for (overlay::ObfPoint& point : object->points) {
        const int16_t x = point.x;
        point.x = Clamp16(object->height - point.y);
        point.y = x;
      }
      std::swap(object->width, object->height);
      return;
    case overlay::kKindArrow:
      if (object->points.size() >= 2) std::swap(object->points[0], object->points[1]);
      return;
    default:
      return;
  }
}

void MirrorPoints(overlay::ObfObject* object, bool topToBottom) {
  for (overlay::ObfPoint& point : object->points) {
    if (topToBottom) {
      point.y = Clamp16(object->height - 1 - point.y);
    } else {
      point.x = Clamp16(object->width - 1 - point.x);
    }
  }
}

overlay::ObfObject Remargined(const overlay::ObfObject& old, const overlay::ObfObject& changed) {
  overlay::ObfObject result = changed;
  const int32_t oldMargin = ShapeMargin(old.shadow, old.size);
  const int32_t newMargin = ShapeMargin(changed.shadow, changed.size);
  const int32_t delta = newMargin - oldMargin;
  result.x = old.x - delta;
  result.y = old.y - delta;
  result.width = old.width + 2 * delta;
  result.height = old.height + 2 * delta;
  result.points = old.points;
  for (overlay::ObfPoint& point : result.points) {
    point.x = Clamp16(point.x + delta);
    point.y = Clamp16(point.y + delta);
  }
  return result;
}

std::string KindName(const std::string& toolMenu, uint16_t kind) {
  return suite::ItemField(toolMenu, kind);
}

std::string TextSnippet(const std::string& text) { return suite::TrimBlanks(text.substr(0, 8)); }

std::string HoverStatus(const std::string& title, const std::string& kindName, const overlay::ObfObject& object,
                        const std::string& lockWords) {
  std::string kindText = kindName;
  if (object.kind == overlay::kKindText) kindText += " (" + TextSnippet(object.text) + ")";
  const std::string lockWord = suite::CommaField(lockWords, object.flag != 0 ? 1 : 2);
  return title + " " + kindText + " " + lockWord;
}

std::vector<std::string> ObjectListItems(const std::string& definition, const std::vector<ListedObject>& objects) {
  std::string cut = definition;
  if (!cut.empty() && cut.back() == '|') cut.pop_back();
  std::vector<std::string> fields = suite::SplitItemList(cut);
  if (fields.empty()) fields.emplace_back();
  std::vector<std::string> items;
  items.push_back(fields.front());
  for (const ListedObject& listed : objects) {
    std::string item = listed.title + " " + listed.kindName;
    if (listed.object != nullptr && listed.object->kind == overlay::kKindText) {
      std::string snippet = TextSnippet(listed.object->text);
      std::replace(snippet.begin(), snippet.end(), '|', '\x18');
      item += " (" + snippet + ")";
    }
    items.push_back(item);
  }
  if (fields.size() > 1) items.push_back(fields.back());
  return items;
}

PopupItemStates ItemStatesFor(uint16_t kind) {
  PopupItemStates states;
  const bool textOrArrow = kind == overlay::kKindText || kind == overlay::kKindArrow;
  states.styles = !textOrArrow;
  states.openStyle = !textOrArrow && kind != overlay::kKindEllipse && kind != overlay::kKindRectangle;
  states.mirrors = kind == overlay::kKindCurve || kind == overlay::kKindArrow || kind == overlay::kKindPolyline;
  return states;
}

ZOrderChoice ZOrderFor(int32_t id, size_t n, size_t self) {
  ZOrderChoice choice;
  if (n == 0 || self >= n) return choice;
  const auto top = static_cast<int32_t>(1301);
  const auto bottom = static_cast<int32_t>(1302 + n);
  if (id == top) {
    if (self != 0) choice.move = ZMove::kTop;
  } else if (id == bottom) {
    if (self != n - 1) {
      choice.move = ZMove::kBottom;
      choice.target = n - 1;
    }
  } else if (id > top && id < bottom) {
    const size_t target = static_cast<size_t>(id - 1302);
    if (target != self) {
      choice.move = ZMove::kBelow;
      choice.target = target;
    }
  }
  return choice;
}

}  // namespace paint
