// The one choice of kernels per draw: the family picks the table, the table's
// index comes from the remaining options.
#include "graphics/raster/internal/span_kinds.h"

SpanSet ChooseSpans(const SpanKey& key) {
  switch (key.Family) {
    case SpanFamily::Blended:
      return span::BlendSpans(key);
    case SpanFamily::Effects:
      return span::EffectsSpans(key);
    default:
      return span::PlainSpans(key.Family, key.MirrorX);
  }
}
