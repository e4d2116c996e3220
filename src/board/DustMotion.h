#pragma once
#include "board/Unit_Ext.h"

namespace slatewick {

// Which vector instructions move the dust: the widest the processor has (x86-64: AVX2 when
// present), or the baseline ones (x86-64: SSE2); elsewhere plain code. Every choice moves alike.
enum class DustVectors { Widest, Baseline };

// One tick of the dust: every particle, in list order, draws Random(5) and then Random(4) when
// the first draw was 3 or more (it falls 4..7 pixels) or Random(3) (it drifts a pixel left, not
// at all, or right). The first particle then below the tray's first row (y > trayTop) is removed
// and the tick ends there: the particles after it neither move nor draw. The generator ends where
// the same Random calls made one by one would leave it; a scripted source sees those calls.
void MoveDust(TKonaList& dust, int trayTop, DustVectors vectors = DustVectors::Widest);

}  // namespace slatewick
