#include "core/plot/plot_surface.h"

namespace kx::core {

int FontSize(TextRole role) {
    switch (role) {
        case TextRole::kTickLabel: return 9;
        case TextRole::kAxisName: return 12;
        case TextRole::kTitle:
        case TextRole::kParameter: return 8;
    }
    return 9;
}

}  // namespace kx::core
