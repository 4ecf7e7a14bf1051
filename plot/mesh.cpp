// MESH: the edges of its faces, as a wireframe (subdivision is not applied). The face
// list holds for each face its corner count and the corners' vertex indexes.
#include "plot/parts.h"

namespace plot {

namespace {
constexpr size_t kMostVertices = 1 << 22;
}  // namespace

void drawMesh(const EntityGroups& g, Parts& parts) {
    std::vector<QPointF> vertices;
    std::vector<int64_t> faces;
    enum class In { Start, Vertices, Faces, Done } in = In::Start;
    size_t expected = 0;
    for (const auto& [code, value] : g.list()) {
        const double v = toNumber(value);
        if (code == 92 && in == In::Start) {
            in = In::Vertices;
            expected = static_cast<size_t>(std::clamp(v, 0.0, double(kMostVertices)));
        } else if (code == 10 && in == In::Vertices && vertices.size() < expected) {
            vertices.emplace_back(v, 0);
        } else if (code == 20 && in == In::Vertices && !vertices.empty()) {
            vertices.back().setY(v);
        } else if (code == 93 && in == In::Vertices) {
            in = In::Faces;
            expected = static_cast<size_t>(std::clamp(v, 0.0, double(kMostVertices)));
        } else if (code == 90 && in == In::Faces) {
            if (faces.size() < expected) faces.push_back(static_cast<int64_t>(v));
            if (faces.size() == expected) in = In::Done;
        } else if (code == 94 && in != In::Start) {
            break;  // the edges repeat what the faces draw
        }
    }
    QPainterPath edges;
    for (size_t i = 0; i < faces.size();) {
        const int64_t n = faces[i];
        if (n <= 0 || static_cast<size_t>(n) >= faces.size() - i) break;
        bool first = true;
        for (int64_t k = 0; k <= n; ++k) {
            const int64_t index = faces[i + 1 + static_cast<size_t>(k % n)];
            if (index < 0 || static_cast<size_t>(index) >= vertices.size()) continue;
            if (first)
                edges.moveTo(vertices[index]);
            else
                edges.lineTo(vertices[index]);
            first = false;
        }
        i += static_cast<size_t>(n) + 1;
    }
    if (!edges.isEmpty()) Out(parts.scene(), parts.entityPen()).stroke(edges, parts.t());
}

}  // namespace plot
