// Plain geometry of the drawing routines.
#include "drawing/geometry.h"
#include <climits>

namespace qdraw {

namespace {
int32_t clamp32(int64_t v) { return (int32_t)(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v); }
}  // namespace

void nineCellPieces(const GeoRect& r, int cw, int ch, NineCellPiece out[9]) {
    const int64_t L = r.left, T = r.top, R = r.right, B = r.bottom;
    struct Piece {
        int64_t l, t, r, b;
        int col, row;
        bool corner;
    };
    const Piece pieces[9] = {
        {L, T, L + cw, T + ch, 0, 0, true},
        {L, B - ch, L + cw, B, 0, 2, true},
        {R - cw, T, R, T + ch, 2, 0, true},
        {R - cw, B - ch, R, B, 2, 2, true},
        {L + cw, T, R - cw, T + ch, 1, 0, false},
        {L + cw, B - ch, R - cw, B, 1, 2, false},
        {L, T + ch, L + cw, B - ch, 0, 1, false},
        {R - cw, T + ch, R, B - ch, 2, 1, false},
        {L + cw, T + ch, R - cw, B - ch, 1, 1, false},
    };
    for (int i = 0; i < 9; ++i) {
        const Piece& p = pieces[i];
        out[i].dest = {clamp32(p.l), clamp32(p.t), clamp32(p.r), clamp32(p.b)};
        out[i].col = p.col;
        out[i].row = p.row;
        out[i].corner = p.corner;
    }
}

KeyRange keyRange(uint32_t key, uint32_t tolerance) {
    KeyRange k;
    for (int i = 0; i < 3; ++i) {
        const unsigned keyByte = (key >> (8 * i)) & 0xFF, tolByte = (tolerance >> (8 * i)) & 0xFF;
        k.low[i] = (uint8_t)keyByte;
        k.high[i] = (uint8_t)(keyByte + tolByte > 255 ? 255 : keyByte + tolByte);
    }
    return k;
}

}  // namespace qdraw
