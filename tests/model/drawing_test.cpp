// The drawings inside the stand-in host: stepping, reading, storing, links, selection,
// storeys, user data and the creator lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/selection.h"
#include "model_fixture.h"
#include "runtime/environment.h"

namespace {

using lunvik::Drawing;
using lunvik::ElementLink;
using platform::Guid;

class DrawingTest : public testing_support::ModelHost {
 protected:
  // Creates an element of kind in the current database through the table.
  Guid createRaw(int32_t typeID) {
    platform::ElementRecord r = model().defaults(typeID);
    standin::HostElement& e = model().create(model().currentDatabase(), r);
    return e.record.header.guid;
  }
};

TEST_F(DrawingTest, AnEmptyPlanCountsNothingAndIteratesNothing) {
  EXPECT_EQ(plan().count(0, false, false), 0);
  Drawing::iterator it = plan().begin(Drawing::Filter());
  EXPECT_TRUE(it.atEnd());
}

TEST_F(DrawingTest, SteppingVisitsKindsOneToThirtyTwoInOrder) {
  // Created out of kind order; kind 32 has no class and 33 lies past the stepped kinds.
  std::vector<int32_t> kinds = {24, 6, 1, 19, 33, 6, 18, 32, 2};
  for (int32_t k : kinds) {
    if (k == 18) {
      standin::StoredPolygon square;
      square.coords = {{0, 0}, {0, 0}, {1, 0}, {1, 1}, {0, 0}};
      square.ends = {0, 4};
      ASSERT_NE(model().placePolygon(18, square), nullptr);
    } else if (k == 6) {
      ASSERT_NE(place(1, 2), nullptr);
    } else {
      createRaw(k);
    }
  }
  std::vector<int32_t> seen;
  for (Drawing::iterator it = plan().begin(Drawing::Filter()); !it.atEnd(); ++it) seen.push_back(it->typeID());
  EXPECT_EQ(seen, (std::vector<int32_t>{1, 2, 6, 6, 18, 19, 24}));
  EXPECT_EQ(plan().count(0, false, false), 8);  // kinds 1 to 32: 33 not counted
}

TEST_F(DrawingTest, AKindFilterAndADeletedElement) {
  place(0, 0);
  standin::HostElement* second = place(1, 0);
  place(2, 0);
  model().remove(*second);
  std::vector<double> xs;
  for (auto it = plan().begin(Drawing::Filter(platform::kObject, false, true, false)); !it.atEnd(); ++it)
    xs.push_back(it->position().getX());
  EXPECT_EQ(xs, (std::vector<double>{0, 2}));
  EXPECT_EQ(plan().count(platform::kObject, false, true), 2);
  EXPECT_EQ(plan().count(platform::kObject, false, false), 3);
}

TEST_F(DrawingTest, AnObjectReadsItsParametersByNameOnFirstUse) {
  standin::HostElement* placed = place(3, 4, {{"length", 3.2}, {"profWide", 0.15}});
  ASSERT_NE(placed, nullptr);
  ElementLink link(placed->header());
  auto element = plan().findByGuid(link);
  auto* object = dynamic_cast<lunvik::Object*>(element.get());
  ASSERT_NE(object, nullptr);
  host().clearRecords();
  auto* wide = dynamic_cast<lunvik::LengthParameter*>(object->parameter("PROFWIDE"));
  ASSERT_NE(wide, nullptr);
  EXPECT_DOUBLE_EQ(wide->get(), 0.15);
  EXPECT_EQ(host().callCount("HostGetElementMemo"), 1);
  EXPECT_NE(object->parameter("length"), nullptr);
  EXPECT_EQ(host().callCount("HostGetElementMemo"), 1);
  EXPECT_EQ(object->libraryIndex(), host().library().find("Timber", 0));
}

TEST_F(DrawingTest, StoringAChangedParameterWritesItBackAndChangesTheStamp) {
  standin::HostElement* placed = place(0, 0, {{"length", 3.2}});
  uint32_t stamp = placed->header().modiStamp;
  auto element = plan().findByGuid(ElementLink(placed->header()));
  auto* object = dynamic_cast<lunvik::Object*>(element.get());
  ASSERT_NE(object, nullptr);
  dynamic_cast<lunvik::LengthParameter*>(object->parameter("length"))->set(4.5);
  object->setPosition(lunvik::CadPoint(7, 8, 0));
  ASSERT_TRUE(plan().store(*object));
  EXPECT_NE(placed->header().modiStamp, stamp);
  EXPECT_DOUBLE_EQ(placed->record.part.pos.x, 7);
  ASSERT_EQ(placed->parameters.size(), 1u);
  EXPECT_DOUBLE_EQ(placed->parameters[0].record.value.real, 4.5);
  EXPECT_EQ(object->link().guidValue(), placed->header().guid);
}

TEST_F(DrawingTest, StoreSwitchesTheHostToThePlanFirst) {
  standin::HostElement* placed = place(0, 0);
  auto element = plan().findByGuid(ElementLink(placed->header()));
  ASSERT_NE(element, nullptr);
  platform::DatabaseRecord section = model().addCutPlane(platform::kDatabaseSection, 0, 0, 10, 0, 0, "A-A");
  ASSERT_TRUE(model().setCurrent(section));
  ASSERT_TRUE(plan().store(*element));
  EXPECT_EQ(model().current().kind, platform::kDatabasePlan);
  EXPECT_EQ(model().elements(model().plan(), platform::kObject).size(), 1u);
}

TEST_F(DrawingTest, ANewHatchFromAnOpenPolygonIsStoredClosed) {
  auto open = std::make_unique<lunvik::CadPoly>(0, 0, false);
  open->add(0, 0);
  open->add(2, 0);
  open->add(2, 2);
  lunvik::Hatch hatch(std::move(open));
  ASSERT_TRUE(plan().store(hatch, true));
  auto hatches = model().elements(model().plan(), platform::kHatch);
  ASSERT_EQ(hatches.size(), 1u);
  const standin::StoredPolygon& p = hatches[0]->polygon;
  EXPECT_EQ(p.coords[0].x, 0.0);  // closed
  ASSERT_EQ(p.ends.size(), 2u);
  EXPECT_EQ(p.ends[1], 4);
  auto back = plan().findByGuid(hatch.link());
  ASSERT_NE(back, nullptr);
  auto outline = back->outline();
  ASSERT_NE(outline, nullptr);
  EXPECT_TRUE(outline->isClosed());
  EXPECT_EQ(outline->vertexCount(), 3u);
}

TEST_F(DrawingTest, ASelectionItemLinkAsksItsKindOnce) {
  standin::HostElement* placed = place(0, 0);
  platform::SelectionItem item{};
  item.itemCode = lunvik::itemCodeOfKind(platform::kObject);
  item.guid = placed->header().guid;
  item.inIndex = 1;
  ElementLink link = ElementLink::fromSelectionItem(item, plan().identity());
  host().clearRecords();
  EXPECT_EQ(link.typeID(), platform::kObject);
  EXPECT_EQ(link.typeID(), platform::kObject);
  EXPECT_EQ(host().callCount("HostGoodies"), 1);
}

TEST_F(DrawingTest, LinkEquality) {
  Guid g{};
  g.bytes[0] = 1;
  Guid h{};
  h.bytes[0] = 2;
  platform::DatabaseRecord planId{1, 0, 0, 0}, sectionId{2, 0, 0, 1};
  ElementLink base(6, 3, g, planId);
  struct Case {
    const char* what;
    ElementLink other;
    bool equal;
  } cases[] = {
      {"the same", ElementLink(6, 3, g, planId), true},
      {"another kind", ElementLink(7, 3, g, planId), false},
      {"another index", ElementLink(6, 4, g, planId), false},
      {"another GUID", ElementLink(6, 3, h, planId), false},
      {"another database", ElementLink(6, 3, g, sectionId), false},
  };
  for (const Case& c : cases) EXPECT_EQ(base == c.other, c.equal) << c.what;
  ElementLink proxied = base;
  platform::ElementHeader proxy{};
  proxy.index = 1;
  proxied.setProxy(proxy, sectionId);
  EXPECT_FALSE(proxied == base);
  platform::SelectionItem a{13, 0, g, 1, 0}, b{13, 0, g, 2, 0};
  EXPECT_FALSE(ElementLink::fromSelectionItem(a, planId) == ElementLink::fromSelectionItem(b, planId));
  EXPECT_TRUE(ElementLink::fromSelectionItem(a, planId) == ElementLink::fromSelectionItem(a, planId));
}

TEST_F(DrawingTest, StoreyHeights) {
  model().setStoreys({{0, 0.0, "Ground"}, {1, 3.0, "First"}, {2, 5.5, "Loft"}}, 1);
  plan().releaseCaches();
  const lunvik::StoreyList& storeys = plan().storeys();
  ASSERT_EQ(storeys.size(), 3u);
  EXPECT_DOUBLE_EQ(storeys[0].height(), 3.0);
  EXPECT_DOUBLE_EQ(storeys[1].height(), 2.5);
  EXPECT_DOUBLE_EQ(storeys[2].height(), 2.5);
  ASSERT_NE(plan().currentStorey(), nullptr);
  EXPECT_EQ(plan().currentStorey()->name().str(), "First");
}

TEST_F(DrawingTest, UserDataIsSetOnceUnlessForcedAndFiltersIterate) {
  standin::HostElement* a = place(0, 0);
  place(1, 0);
  auto element = plan().findByGuid(ElementLink(a->header()));
  ASSERT_TRUE(element->setUserData("TSTR", false, true, 7));
  EXPECT_FALSE(element->setUserData("TSTR", false, false, 7));
  EXPECT_TRUE(element->setUserData("TSTR", true, false, 7));
  EXPECT_FALSE(element->setUserData("", true, false, 7));
  std::string data;
  int32_t value = 0;
  ASSERT_TRUE(element->userData(data, &value));
  EXPECT_EQ(data, "TSTR");
  EXPECT_EQ(value, 7);
  EXPECT_EQ(a->header().marked, 1);
  int n = 0;
  for (auto it = plan().begin(Drawing::Filter(false, true)); !it.atEnd(); ++it) ++n;
  EXPECT_EQ(n, 1);
  n = 0;
  for (auto it = plan().begin(Drawing::Filter(platform::kFilterHasUserData, 0, false, false, false)); !it.atEnd(); ++it)
    ++n;
  EXPECT_EQ(n, 1);
}

TEST_F(DrawingTest, SelectedOnlyIterationAndSelectingAGroupMember) {
  standin::HostElement* a = place(0, 0);
  standin::HostElement* b = place(1, 0);
  standin::HostElement* c = place(2, 0);
  Guid group = model().group({a->header().guid, b->header().guid});
  ASSERT_FALSE(platform::isZero(group));
  EXPECT_EQ(model().mainGroup(a->header().guid), group);
  lunvik::ElemRefList refs;
  refs.push_back(new ElementLink(a->header()));
  ASSERT_TRUE(plan().select(refs));
  EXPECT_EQ(model().selection().size(), 2u);  // the whole group
  std::vector<double> xs;
  for (auto it = plan().begin(Drawing::Filter(true, false)); !it.atEnd(); ++it) xs.push_back(it->position().getX());
  EXPECT_EQ(xs, (std::vector<double>{0, 1}));
  host().setGroupsSuspended(true);
  ASSERT_TRUE(plan().select(refs));
  EXPECT_EQ(model().selection().size(), 1u);
  EXPECT_FALSE(model().isSelected(c->header().guid));
}

TEST_F(DrawingTest, GroupToolsRunOnASelection) {
  lunvik::ElementSelection<lunvik::Element> selection;
  for (double x : {0.0, 1.0}) {
    standin::HostElement* e = place(x, 0);
    selection.add(plan().findByGuid(ElementLink(e->header())).release());
  }
  ASSERT_TRUE(plan().group(selection));
  auto groups = model().elements(model().plan(), platform::kGroup);
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0]->members.size(), 2u);
  ASSERT_TRUE(plan().lock(selection));
  auto locked = plan().findByGuid(selection[0].link());
  EXPECT_FALSE(plan().store(*locked));
  ASSERT_TRUE(plan().unlock(selection));
  ASSERT_TRUE(plan().ungroup(selection));
  EXPECT_TRUE(model().elements(model().plan(), platform::kGroup).empty());
  EXPECT_TRUE(selection.updateLinks(nullptr));
}

std::unique_ptr<lunvik::Element> makeNothing(const platform::ElementRecord&, const ElementLink&) { return nullptr; }

// Marks objects it creates so the test can tell them from the framework's.
class MarkedObject : public lunvik::Object {
 public:
  using Object::Object;
  static std::unique_ptr<lunvik::Element> create(const platform::ElementRecord& r, const ElementLink& l) {
    return r.header.typeID == platform::kObject ? std::make_unique<MarkedObject>(r, l) : nullptr;
  }
};

TEST_F(DrawingTest, TheAddonsCreatorsComeFirst) {
  standin::HostElement* placed = place(0, 0);
  auto& creators = lunvik::Environment::instance().models().creators;
  creators.add(platform::kObject, &makeNothing);
  creators.add(platform::kObject, &MarkedObject::create);
  auto element = plan().findByGuid(ElementLink(placed->header()));
  EXPECT_NE(dynamic_cast<MarkedObject*>(element.get()), nullptr);
  creators.remove(platform::kObject, &MarkedObject::create);
  creators.remove(platform::kObject, &makeNothing);
  element = plan().findByGuid(ElementLink(placed->header()));
  EXPECT_EQ(dynamic_cast<MarkedObject*>(element.get()), nullptr);
  EXPECT_NE(dynamic_cast<lunvik::Object*>(element.get()), nullptr);
}

TEST_F(DrawingTest, QueuedTransformationsMoveTheElement) {
  standin::HostElement* placed = place(1, 1);
  auto element = plan().findByGuid(ElementLink(placed->header()));
  element->addTransformation(std::make_unique<lunvik::MoveTransform>(lunvik::CadPoint(2, 3, 0), lunvik::CadPoint(1, 1, 0)));
  EXPECT_EQ(element->transformCount(), 1);
  ASSERT_TRUE(plan().applyTransformations(*element, nullptr));
  EXPECT_EQ(element->transformCount(), 0);
  EXPECT_DOUBLE_EQ(placed->record.part.pos.x, 3);
  EXPECT_DOUBLE_EQ(placed->record.part.pos.y, 4);
}

TEST_F(DrawingTest, TakeTransformationLeavesNoQueue) {
  lunvik::Object object;
  object.addTransformation(std::make_unique<lunvik::MoveTransform>(lunvik::CadPoint(1, 0, 0), lunvik::CadPoint()));
  auto t = object.takeTransformation();
  EXPECT_NE(t, nullptr);
  EXPECT_EQ(object.transformCount(), 0);
  EXPECT_EQ(object.takeTransformation(), nullptr);
}

TEST_F(DrawingTest, ASectionShowsPlanElementsThroughProxies) {
  platform::DatabaseRecord section = model().addCutPlane(platform::kDatabaseSection, 0, 0, 10, 0, 0, "A-A");
  standin::HostElement* placed = model().placeObject("Timber", {}, 4, 0, 1.5, 0);
  ASSERT_NE(placed, nullptr);
  platform::ElementRecord proxy{};
  proxy.header.typeID = platform::kSectionProxy;
  proxy.header.layer = 1;
  proxy.proxy.targetType = platform::kObject;
  proxy.proxy.targetIndex = placed->header().index;
  proxy.proxy.targetGuid = placed->header().guid;
  proxy.proxy.targetDatabaseKind = platform::kDatabasePlan;
  proxy.proxy.h = 4;
  proxy.proxy.v = 1.5;
  model().create(*model().database(section), proxy);
  lunvik::Drawing* view = project().drawing(section);
  auto* cut = dynamic_cast<lunvik::CutPlane*>(view);
  ASSERT_NE(cut, nullptr);
  lunvik::CadPoint at;
  ASSERT_TRUE(cut->toModel(4, 1.5, at));
  EXPECT_DOUBLE_EQ(at.getX(), 4);
  EXPECT_DOUBLE_EQ(at.getZ(), 1.5);
  std::vector<ElementLink> seen;
  for (auto it = view->begin(Drawing::Filter(platform::kObject, false, false, false)); !it.atEnd(); ++it)
    seen.push_back(it->link());
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].guidValue(), placed->header().guid);
  EXPECT_EQ(seen[0].proxyType(), platform::kSectionProxy);
  EXPECT_EQ(seen[0].database().kind, platform::kDatabasePlan);
}

TEST_F(DrawingTest, WithoutDeferredLoadingElementsArriveWithTheirMemo) {
  place(0, 0, {{"length", 1.0}});
  place(1, 0, {{"length", 2.0}});
  host().clearRecords();
  {
    lunvik::WholeMemoScope whole;
    std::vector<std::unique_ptr<lunvik::Element>> kept;
    for (auto it = plan().begin(Drawing::Filter(platform::kObject, false, false, false)); !it.atEnd(); ++it)
      kept.push_back(it.release());
    EXPECT_EQ(host().callCount("HostGetElementMemo"), 2);
    for (auto& e : kept) EXPECT_NE(dynamic_cast<lunvik::Object&>(*e).parameter("length"), nullptr);
    EXPECT_EQ(host().callCount("HostGetElementMemo"), 2);
  }
  EXPECT_TRUE(lunvik::deferMemoLoading());
}

TEST_F(DrawingTest, SwappingALibraryPartKeepsTheValuesThatStillExist) {
  standin::HostElement* placed = place(0, 0, {{"length", 3.2}, {"oldOnly", 1.0}});
  auto element = plan().findByGuid(ElementLink(placed->header()));
  auto& object = dynamic_cast<lunvik::Object&>(*element);
  lunvik::ParameterList defaults;
  defaults.add(new lunvik::LengthParameter("length", "", 1.0));
  defaults.add(new lunvik::LengthParameter("newOnly", "", 0.4));
  int32_t post = host().library().find("Post", 0);
  object.setComponent(post, true, &defaults);
  EXPECT_EQ(object.libraryIndex(), post);
  EXPECT_DOUBLE_EQ(dynamic_cast<lunvik::LengthParameter*>(object.parameter("length"))->get(), 3.2);
  EXPECT_DOUBLE_EQ(dynamic_cast<lunvik::LengthParameter*>(object.parameter("newOnly"))->get(), 0.4);
  EXPECT_EQ(object.parameter("oldOnly"), nullptr);
  ASSERT_TRUE(plan().store(object));
  EXPECT_EQ(placed->libraryPart, "Post");
}

TEST_F(DrawingTest, ADrawingTheHostCannotSwitchToRefusesToStore) {
  standin::HostElement* placed = place(0, 0);
  auto element = plan().findByGuid(ElementLink(placed->header()));
  lunvik::Drawing* ghost = project().drawing(platform::DatabaseRecord{platform::kDatabaseSection, 0, 0, 7});
  ASSERT_NE(ghost, nullptr);
  EXPECT_FALSE(ghost->store(*element));
  EXPECT_NE(ghost->lastError(), platform::kNoError);
  EXPECT_EQ(model().current().kind, platform::kDatabasePlan);
  EXPECT_EQ(model().elements(model().plan(), platform::kObject).size(), 1u);
}

}  // namespace
