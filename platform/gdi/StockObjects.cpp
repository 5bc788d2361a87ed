// GetStockObject and the stock brushes, pens and fonts behind it.
#include "platform/gdi/Brushes.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/WinGdi.h"

namespace {

constexpr int kStockCount = 18;

struct StockTable {
  GdiBrush white{false, 0xFFFFFF}, lightGray{false, 0xC0C0C0}, gray{false, 0x808080}, darkGray{false, 0x404040},
      black{false, 0x000000}, none{true, 0};
  GdiPen whitePen{false, 0xFFFFFF}, blackPen{false, 0x000000}, nullPen{true, 0};
  GdiFont font;  // every stock font index gives the one embedded system font
  HGDIOBJ byIndex[kStockCount] = {&white, &lightGray, &gray, &darkGray, &black, &none, &whitePen, &blackPen,
                                  &nullPen, nullptr, &font, &font, &font, &font, &font, nullptr, &font, &font};
};

StockTable& stock() {
  static StockTable table;
  return table;
}

}  // namespace

HGDIOBJ GetStockObject(int index) {
  if (index < 0 || index >= kStockCount) return nullptr;
  return stock().byIndex[index];
}

namespace platform {

bool isStockObject(HGDIOBJ handle) {
  if (handle == nullptr) return false;
  if (handle == HGDIOBJ(defaultBitmap())) return true;
  for (HGDIOBJ object : stock().byIndex)
    if (object == handle) return true;
  return false;
}

bool solidBrushColour(HBRUSH brush, COLORREF& colour) {
  HGDIOBJ__* object = liveGdiObject(brush);
  if (object == nullptr || object->kind != GdiKind::Brush) return false;
  const GdiBrush* solid = static_cast<const GdiBrush*>(object);
  if (solid->null) return false;
  colour = solid->colour;
  return true;
}

}  // namespace platform
