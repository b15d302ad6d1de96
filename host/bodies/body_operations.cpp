#include "host/bodies/body_operations.h"

#include "host/core/host.h"

namespace standin {

using platform::GSErr;
using platform::HostToken;
using platform::kNoError;

namespace {

#define ENTER(name)                                          \
  Host* self = Host::current();                              \
  if (!self) return platform::kErrGeneral;                   \
  self->countCall(name)

GSErr elementInfo(HostToken, int32_t typeID, int32_t index, platform::Element3DInfo* info) {
  ENTER("HostGetElement3DInfo");
  if (!info) return platform::kErrNullArgument;
  int32_t first = 0, last = -1;
  if (!self->bodies().bodyRange(typeID, index, first, last) || last < first) return platform::kErrBadIndex;
  info->firstBody = first;
  info->lastBody = last;
  return kNoError;
}

GSErr component(HostToken, platform::Component3DRecord* c) {
  ENTER("HostGet3DComponent");
  if (!c) return platform::kErrNullArgument;
  const GeneratedBody* body = self->bodies().body(c->body);
  if (!body) return platform::kErrBadIndex;
  int32_t i = c->index;
  auto inRange = [i](std::size_t count) { return i >= 1 && std::size_t(i) <= count; };
  switch (c->typeCode) {
    case platform::kComponentBody: {
      platform::Body3DRecord& r = c->data.body;
      r = platform::Body3DRecord{};
      r.colour = body->pen;
      r.polygonCount = int32_t(body->faces.size());
      r.edgeCount = int32_t(body->edges.size());
      r.vertexCount = int32_t(body->vertices.size());
      r.matrix = body->matrix;
      float box[6] = {float(body->boxMin.x), float(body->boxMin.y), float(body->boxMin.z),
                      float(body->boxMax.x), float(body->boxMax.y), float(body->boxMax.z)};
      for (int k = 0; k < 6; ++k) r.box[k] = box[k];
      return kNoError;
    }
    case platform::kComponentPolygon: {
      if (!inRange(body->faces.size())) return platform::kErrBadIndex;
      // Edge entries are numbered polygon after polygon.
      int32_t first = body->firstEntry[std::size_t(i) - 1] + 1;
      platform::Polygon3DRecord& r = c->data.polygon;
      r = platform::Polygon3DRecord{};
      r.firstEntry = first;
      r.lastEntry = first + int32_t(body->faceEdges[std::size_t(i) - 1].size()) - 1;
      r.normal = i;
      return kNoError;
    }
    case platform::kComponentPolygonEdge: {
      if (!inRange(body->edgeEntries.size())) return platform::kErrBadIndex;
      c->data.edgeEntry = body->edgeEntries[std::size_t(i) - 1] + 1;
      return kNoError;
    }
    case platform::kComponentEdge: {
      if (!inRange(body->edges.size())) return platform::kErrBadIndex;
      c->data.edge = platform::Edge3DRecord{};
      c->data.edge.vertex1 = body->edges[std::size_t(i) - 1].first + 1;
      c->data.edge.vertex2 = body->edges[std::size_t(i) - 1].second + 1;
      return kNoError;
    }
    case platform::kComponentVertex: {
      if (!inRange(body->vertices.size())) return platform::kErrBadIndex;
      const Vec3& v = body->vertices[std::size_t(i) - 1];
      c->data.vertex = {v.x, v.y, v.z};
      return kNoError;
    }
    case platform::kComponentNormal: {
      if (!inRange(body->normals.size())) return platform::kErrBadIndex;
      const Vec3& n = body->normals[std::size_t(i) - 1];
      c->data.normal = {n.x, n.y, n.z};
      return kNoError;
    }
    default:
      return platform::kErrBadParameter;
  }
}

GSErr elementQuery(HostToken, const platform::ElementQueryRecord* query, platform::ElementQuantityRecord* answer) {
  ENTER("HostElementQuery");
  if (!query || !answer) return platform::kErrNullArgument;
  double volume = 0, surface = 0;
  if (!self->bodies().quantities(query->typeID, query->index, volume, surface)) return platform::kErrBadIndex;
  answer->volume = volume;
  answer->surface = surface;
  return kNoError;
}

#undef ENTER

}  // namespace

void installBodyOperations(platform::HostFunctionTable& t) {
  t.HostGetElement3DInfo = &elementInfo;
  t.HostGet3DComponent = &component;
  t.HostElementQuery = &elementQuery;
}

}  // namespace standin
