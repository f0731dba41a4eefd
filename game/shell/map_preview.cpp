#include "shell/map_preview.h"

#include "model/game_data.h"
#include "render/matrix.h"
#include "screen/machine_view.h"
#include "screen/ui.h"

namespace {

double larger(double a, double b) { return a > b ? a : b; }
double smaller(double a, double b) { return a < b ? a : b; }

}  // namespace

double preview_fit() {
    // Starting at zero keeps the origin inside the extent: the preview stays centred on it.
    double min_x = 0, max_x = 0, min_y = 0, max_y = 0;
    for (int64_t i = 0; i < states.count; i++) {
        float x, y;
        state_center(static_cast<int16_t>(i), &x, &y);
        min_x = smaller(min_x, x);
        max_x = larger(max_x, x);
        min_y = smaller(min_y, y);
        max_y = larger(max_y, y);
    }
    double width = 2 * larger(-min_x, max_x);
    double height = 2 * larger(-min_y, max_y);
    double fit = 1;
    if (width > preview_max_width) fit = smaller(fit, preview_max_width / width);
    if (height > preview_max_height) fit = smaller(fit, preview_max_height / height);
    return fit;
}

void draw_map_preview() {
    ScreenPoint center = window_center();
    float fit = static_cast<float>(preview_fit());
    Matrix view = matrix_multiply(screen_projection, matrix_multiply(matrix_translation(static_cast<float>(center.x),
                                                                                         static_cast<float>(center.y)),
                                                                      matrix_scale(fit, fit)));
    draw_machine(MachineView{view, -1, false, false, -1, Color{}});
}
