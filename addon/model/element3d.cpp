#include "model/element3d.h"

#include <algorithm>
#include <cmath>

#include "platform/element_records.h"
#include "runtime/host_interface.h"

namespace lunvik {

using platform::HostFunctionTable;

namespace {

bool component(int32_t type, int32_t body, int32_t index, platform::Component3DRecord& record) {
  record = platform::Component3DRecord{};
  record.typeCode = type;
  record.body = body;
  record.index = index;
  return host().call(&HostFunctionTable::HostGet3DComponent, &record) == platform::kNoError;
}

constexpr int32_t kDatabaseModel = 4;

}  // namespace

// Room made ahead for a body's components: the counts are the host's word, so a wild one
// reserves no more than this; the lists grow past it when the components are really there.
constexpr int32_t kReserveCap = 1 << 16;

Body::Data::Data(int32_t faceCount, int32_t edgeCount, int32_t vertexCount)
    : faces(new FaceList), edges(new EdgeList), vertices(new VertList) {
  faces->reserve(std::size_t(std::clamp(faceCount, 0, kReserveCap)));
  edges->reserve(std::size_t(std::clamp(edgeCount, 0, kReserveCap)));
  vertices->reserve(std::size_t(std::clamp(vertexCount, 0, kReserveCap)));
}

const Body::Data::FaceList& Body::faces() const { return *data_->faces; }

const Body::Data::EdgeList& Body::edges() const { return *data_->edges; }

const Body::Data::VertList& Body::vertices() const { return *data_->vertices; }

bool Body::read(int32_t index) {
  platform::Component3DRecord record;
  if (!component(platform::kComponentBody, index, 0, record)) return false;
  const platform::Body3DRecord body = record.data.body;
  if (body.polygonCount <= 0 || body.edgeCount <= 0 || body.vertexCount <= 0) return false;
  Matrix4x4 matrix(body.matrix);
  bool identity = matrix == Matrix4x4::identity();
  boost::shared_ptr<Data> data(new Data(body.polygonCount, body.edgeCount, body.vertexCount));
  data_ = data;
  IndexLink links;
  for (int32_t p = 1; p <= body.polygonCount; ++p) {
    if (!readPolygon(index, p, matrix, identity, links)) {
      data_.reset(new Data(0, 0, 0));
      return false;
    }
  }
  status_ = body.status;
  colour_ = body.colour;
  material_ = body.material;
  box_ = CadCube(CadPoint(body.box[0], body.box[1], body.box[2]), CadPoint(body.box[3], body.box[4], body.box[5]));
  return true;
}

bool Body::readPolygon(int32_t body, int32_t polygon, const Matrix4x4& matrix, bool identity, IndexLink& links) {
  platform::Component3DRecord record;
  if (!component(platform::kComponentPolygon, body, polygon, record)) return false;
  const platform::Polygon3DRecord pgon = record.data.polygon;
  boost::shared_ptr<Face> face(new Face);
  if (pgon.lastEntry >= pgon.firstEntry) {
    platform::Component3DRecord normal;
    if (!component(platform::kComponentNormal, body, std::abs(pgon.normal), normal)) return false;
    Vector3 n(normal.data.normal.x, normal.data.normal.y, normal.data.normal.z);
    if (pgon.normal < 0) n = Vector3(-n.x, -n.y, -n.z);
    face->setNormal(n);
  }
  // The contours: the first is the face, the others its holes. A contour with a negative
  // entry is reversed when it closes.
  boost::shared_ptr<Face> contour = face;
  bool negative = false;
  auto close = [&]() {
    if (negative) std::reverse(contour->data().edges.begin(), contour->data().edges.end());
    negative = false;
  };
  for (int32_t e = pgon.firstEntry; e <= pgon.lastEntry; ++e) {
    platform::Component3DRecord entry;
    if (!component(platform::kComponentPolygonEdge, body, e, entry)) return false;
    int32_t edge = entry.data.edgeEntry;
    if (edge == 0) {
      close();
      boost::shared_ptr<Face> hole(new Face);
      hole->setHole(true);
      hole->setNormal(face->normal());
      face->holes().push_back(hole);
      contour = hole;
      continue;
    }
    if (edge < 0) negative = true;
    int32_t local = 0;
    if (!readEdge(body, std::abs(edge), matrix, identity, links, local)) return false;
    contour->data().edges.push_back(local);
  }
  close();
  // A zero entry that ends the list opens no hole.
  if (!face->holes().empty() && face->holes().back()->data().edges.empty()) face->holes().pop_back();
  data_->faces->push_back(face);
  return true;
}

bool Body::readEdge(int32_t body, int32_t edge, const Matrix4x4& matrix, bool identity, IndexLink& links,
                    int32_t& local) {
  if (links.find(platform::kComponentEdge, edge, local)) return true;
  platform::Component3DRecord record;
  if (!component(platform::kComponentEdge, body, edge, record)) return false;
  int32_t v1 = 0, v2 = 0;
  if (!readVertex(body, record.data.edge.vertex1, matrix, identity, links, v1) ||
      !readVertex(body, record.data.edge.vertex2, matrix, identity, links, v2))
    return false;
  local = int32_t(data_->edges->size());
  data_->edges->push_back({v1, v2});
  links.remember(platform::kComponentEdge, edge, local);
  return true;
}

bool Body::readVertex(int32_t body, int32_t vertex, const Matrix4x4& matrix, bool identity, IndexLink& links,
                      int32_t& local) {
  if (links.find(platform::kComponentVertex, vertex, local)) return true;
  platform::Component3DRecord record;
  if (!component(platform::kComponentVertex, body, vertex, record)) return false;
  CadPoint point(record.data.vertex.x, record.data.vertex.y, record.data.vertex.z);
  if (!identity) point = point * matrix;
  local = int32_t(data_->vertices->size());
  data_->vertices->push_back(boost::shared_ptr<CadPoint>(new CadPoint(point)));
  links.remember(platform::kComponentVertex, vertex, local);
  return true;
}

Element3D::Element3D(const ElementLink& link, Project*) : link_(link), bodies_(new BodyList) {
  // The model is read from the 3D database; the current one is restored afterwards.
  platform::DatabaseRecord previous{};
  bool restore = host().call(&HostFunctionTable::HostDatabase, platform::fourcc("GDAT"), &previous.kind,
                             &previous.index, &previous.number) == platform::kNoError;
  platform::DatabaseRecord model{kDatabaseModel, 0, 0, 0};
  host().call(&HostFunctionTable::HostDatabase, platform::fourcc("CDAT"), &model, nullptr, nullptr);
  platform::Element3DInfo info{};
  if (host().call(&HostFunctionTable::HostGetElement3DInfo, link.typeID(), link.index(), &info) == platform::kNoError &&
      info.firstBody >= 1 && info.lastBody >= info.firstBody) {
    firstBody_ = info.firstBody;
    lastBody_ = info.lastBody;
    bodies_->reserve(std::size_t(std::min<int64_t>(int64_t(info.lastBody) - info.firstBody + 1, kReserveCap)));
    for (int32_t b = info.firstBody; b <= info.lastBody; ++b) {
      boost::shared_ptr<Body> body(new Body);
      if (body->read(b) && body->hasFaces()) bodies_->push_back(body);
    }
  }
  if (restore) host().call(&HostFunctionTable::HostDatabase, platform::fourcc("CDAT"), &previous, nullptr, nullptr);
}

bool Element3D::extent(CadCube& box) const {
  bool any = false;
  CadCube out;
  for (const boost::shared_ptr<Body>& body : *bodies_) {
    CadCube b = body->boundingBox();
    if (!any) out = b;
    else out.add(b);
    any = true;
  }
  if (any) box = out;
  return any;
}

}  // namespace lunvik
