// An element's 3D model as the host generated it: bodies of vertices, edges and faces, held
// by shared pointers so that faces and edges share vertices and bodies are handed out
// without copying.
#pragma once

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <utility>
#include <vector>

#include "geometry/cad_cube.h"
#include "geometry/cad_point.h"
#include "geometry/matrix.h"
#include "geometry/vector3.h"
#include "model/element_link.h"
#include "model/index_link.h"
#include "platform/body_records.h"

namespace lunvik {

class Project;

// A face: its contour as local edge indices in order, its holes and its normal.
class Face {
 public:
  // A face's own data.
  struct Data {
    using EdgeList = std::vector<int32_t>;
    using FacetList = std::vector<std::vector<int32_t>>;
    EdgeList edges;
    FacetList facets;
  };
  using HoleList = std::vector<boost::shared_ptr<Face>>;

  Face() : data_(new Data) {}
  virtual ~Face() = default;

  const Data& data() const { return *data_; }
  Data& data() { return *data_; }
  const boost::shared_ptr<Data>& sharedData() const { return data_; }
  const Vector3& normal() const { return normal_; }
  void setNormal(const Vector3& n) { normal_ = n; }
  // The holes of a face (contours after the first of its host polygon).
  const HoleList& holes() const { return holes_; }
  HoleList& holes() { return holes_; }
  bool isHole() const { return hole_; }
  void setHole(bool on) { hole_ = on; }

 private:
  boost::shared_ptr<Data> data_;
  Vector3 normal_;
  HoleList holes_;
  bool hole_ = false;
};

// A face reduced to its own data.
class SimpleFace {
 public:
  using Data = Face::Data;
  explicit SimpleFace(const Face& face) : data_(face.sharedData()) {}
  const Data& data() const { return *data_; }

 private:
  boost::shared_ptr<Data> data_;
};

// One body: its components and the values of the host's body record.
class Body {
 public:
  // The body's component lists.
  struct Data {
    using VertList = std::vector<boost::shared_ptr<CadPoint>>;
    using EdgeList = std::vector<std::pair<int32_t, int32_t>>;
    using FaceList = std::vector<boost::shared_ptr<Face>>;
    // Lists reserved for the host's counts.
    Data(int32_t faces, int32_t edges, int32_t vertices);
    boost::shared_ptr<FaceList> faces;
    boost::shared_ptr<EdgeList> edges;
    boost::shared_ptr<VertList> vertices;
  };

  Body() : data_(new Data(0, 0, 0)) {}
  // Reads body index of the host's 3D model; false when it is empty or a read fails (the
  // body then has no faces).
  bool read(int32_t index);

  const Data::FaceList& faces() const;
  const Data::EdgeList& edges() const;
  const Data::VertList& vertices() const;
  const CadCube& boundingBox() const { return box_; }
  bool hasFaces() const { return !data_->faces->empty(); }
  int32_t status() const { return status_; }
  int16_t colour() const { return colour_; }
  int16_t material() const { return material_; }
  const boost::shared_ptr<Data>& data() const { return data_; }

 private:
  bool readPolygon(int32_t body, int32_t polygon, const Matrix4x4& matrix, bool identity, IndexLink& links);
  bool readEdge(int32_t body, int32_t edge, const Matrix4x4& matrix, bool identity, IndexLink& links, int32_t& local);
  bool readVertex(int32_t body, int32_t vertex, const Matrix4x4& matrix, bool identity, IndexLink& links,
                  int32_t& local);

  boost::shared_ptr<Data> data_;
  int32_t status_ = 0;
  int16_t colour_ = 0;
  int16_t material_ = 0;
  CadCube box_;
};

// The element's bodies, in the host's order; bodies without faces are left out.
class Element3D {
 public:
  using BodyList = std::vector<boost::shared_ptr<Body>>;

  // Reads the element's model from the host's 3D model (made the host's current database
  // for the reading). project is not used by the stand-in's model and may be null.
  explicit Element3D(const ElementLink& link, Project* project = nullptr);

  const ElementLink& link() const { return link_; }
  // The host's body range (first, last); last < first when the element has none.
  int32_t firstBody() const { return firstBody_; }
  int32_t lastBody() const { return lastBody_; }
  const BodyList& bodies() const { return *bodies_; }
  const boost::shared_ptr<BodyList>& sharedBodies() const { return bodies_; }
  // The box of every body; false when there is none.
  bool extent(CadCube& box) const;

 private:
  ElementLink link_;
  int32_t firstBody_ = 0;
  int32_t lastBody_ = -1;
  boost::shared_ptr<BodyList> bodies_;
};

}  // namespace lunvik
