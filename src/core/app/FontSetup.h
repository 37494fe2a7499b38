#pragma once

namespace moque::app {

// Maps the Windows faces that templates and windows name onto installed faces
// of the same style, so Chinese text never falls back to empty boxes or to
// Japanese glyph shapes: 宋体 → Noto Serif CJK SC, 黑体 and 微软雅黑 → Noto Sans CJK SC …
void installFontSubstitutions();

} // namespace moque::app
