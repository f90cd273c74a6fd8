#include "canvas/canvasservice.h"
#include "support/pavlettest.h"

#include <QTimeZone>

namespace {

const QUrl School("https://school.example");
const QDateTime MappedAt(QDate(2026, 1, 5), QTime(9, 0), QTimeZone::utc());

// One planner element around a base that maps to an assignment.
QByteArray plannerJson(const QByteArray &extra = {}, const QByteArray &plannable = R"({"title":"Essay"})")
{
    return R"({"plannable_id":7,"plannable_type":"assignment","plannable":)" + plannable + extra + "}";
}

std::optional<CanvasAssignment> mapPlanner(const QByteArray &element)
{
    const auto items = PlannerItem::decodeList("[" + element + "]");
    if (!items || items->size() != 1) {
        ADD_FAILURE() << "does not decode: " << element.constData();
        return std::nullopt;
    }
    return CanvasService::assignment(items->first(), School, MappedAt);
}

} // namespace

TEST(CanvasMappingTest, PlannerItemsThatStillNeedTheUser)
{
    const struct {
        QByteArray element;
        bool kept;
    } cases[] = {
        {plannerJson(), true},
        {R"({"plannable_id":7,"plannable_type":"quiz","plannable":{"title":"Q"}})", true},
        {R"({"plannable_id":7,"plannable_type":"discussion_topic","plannable":{"title":"D"}})", true},
        {R"({"plannable_id":7,"plannable_type":"calendar_event","plannable":{"title":"E"}})", false},
        {R"({"plannable_id":7,"plannable_type":"Assignment","plannable":{"title":"E"}})", false},
        {plannerJson(R"(,"submissions":false)"), true},
        {plannerJson(R"(,"submissions":true)"), false},
        {plannerJson(R"(,"submissions":{"submitted":true})"), false},
        {plannerJson(R"(,"submissions":{"excused":true})"), false},
        {plannerJson(R"(,"submissions":{"submitted":false,"excused":null})"), true},
        {plannerJson(R"(,"planner_override":{"marked_complete":true})"), false},
        {plannerJson(R"(,"planner_override":{"marked_complete":false})"), true},
        {plannerJson(R"(,"planner_override":{"marked_complete":null})"), true},
        {plannerJson({}, "null"), false},
        {plannerJson({}, R"({"title":""})"), false},
        {plannerJson({}, R"({})"), false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(mapPlanner(c.element).has_value(), c.kept) << c.element.constData();
}

TEST(CanvasMappingTest, PlannerFieldsAndPageAddresses)
{
    const auto a = mapPlanner(R"({"plannable_id":-42,"plannable_type":"quiz","context_name":"Biology",
        "html_url":"/courses/12/assignments/34",
        "plannable":{"title":"Cells","due_at":"2026-01-05T08:59:00Z","points_possible":12.5}})");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->id, "canvas--42");
    EXPECT_EQ(a->title, "Cells");
    EXPECT_EQ(a->course, "Biology");
    EXPECT_EQ(a->points, 12.5);
    EXPECT_TRUE(a->isQuiz);
    EXPECT_TRUE(a->overdue) << "due a minute before the mapping";
    // A server-relative page opens on the school's server.
    EXPECT_EQ(a->url, QUrl("https://school.example/courses/12/assignments/34"));

    const auto soon = mapPlanner(plannerJson(R"(,"html_url":"https://other.example/x")",
                                             R"({"title":"Soon","due_at":"2026-01-05T09:01:00.000Z"})"));
    ASSERT_TRUE(soon);
    EXPECT_FALSE(soon->overdue);
    EXPECT_EQ(soon->url, QUrl("https://other.example/x"));
    EXPECT_FALSE(soon->isQuiz);

    const auto bad = mapPlanner(plannerJson(R"(,"html_url":"http://bad host/")"));
    ASSERT_TRUE(bad);
    EXPECT_FALSE(bad->url);
    EXPECT_FALSE(bad->dueAt);
    EXPECT_FALSE(bad->overdue) << "no date, no overdue flag";
}

TEST(CanvasMappingTest, MissingSubmissionsAreAlwaysOverdue)
{
    const auto items = MissingItem::decodeList(R"([{"id":3,"name":"","course_code":"BIO-1",
        "html_url":"/courses/1/assignments/3","points_possible":5},{"id":4,"name":"Lab","due_at":"2030-01-01T00:00:00Z"}])");
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 2);
    const CanvasAssignment empty = CanvasService::assignment(items->at(0), School);
    EXPECT_EQ(empty, (CanvasAssignment{"canvas-3", "", QString("BIO-1"), std::nullopt,
                                       QUrl("https://school.example/courses/1/assignments/3"), 5.0, false, true}));
    const CanvasAssignment future = CanvasService::assignment(items->at(1), School);
    EXPECT_TRUE(future.overdue) << "missing work is overdue whatever its date";
}

TEST(CanvasMappingTest, DueDatesNeedATimeAndAZone)
{
    const QDateTime expected(QDate(2026, 12, 5), QTime(23, 59), QTimeZone::utc());
    const std::pair<const char *, std::optional<QDateTime>> cases[] = {
        {"2026-12-05T23:59:00Z", expected},
        {"2026-12-05T23:59:00.000Z", expected},
        {"2026-12-06T00:59:00+01:00", expected},
        {"2026-12-05T23:59:00.5Z", expected.addMSecs(500)},
        {"2026-12-05", std::nullopt},
        {"2026-12-05T23:59:00", std::nullopt},
        {"2026-12-05 23:59:00Z", std::nullopt},
        {"yesterday", std::nullopt},
        {"2026-13-05T23:59:00Z", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto &[text, date] : cases)
        EXPECT_EQ(CanvasService::readDueDate(QString(text)), date) << text;
    EXPECT_EQ(CanvasService::readDueDate(std::nullopt), std::nullopt);
}

TEST(CanvasDecodeTest, ABadElementIsLeftOutAndTheRestStay)
{
    const QByteArray good = R"({"plannable_id":1,"plannable_type":"assignment"})";
    const char *badPlanner[] = {
        R"({"plannable_type":"assignment"})",
        R"({"plannable_id":"7","plannable_type":"assignment"})",
        R"({"plannable_id":7.5,"plannable_type":"assignment"})",
        R"({"plannable_id":7,"plannable_type":"assignment","submissions":"yes"})",
        R"({"plannable_id":7,"plannable_type":"assignment","submissions":{"submitted":"yes"}})",
        R"({"plannable_id":7,"plannable_type":"assignment","plannable":{"points_possible":"10"}})",
        R"({"plannable_id":7,"plannable_type":"assignment","html_url":5})",
        "7",
    };
    for (const char *bad : badPlanner) {
        const auto items = PlannerItem::decodeList("[" + good + "," + bad + "," + good + "]");
        ASSERT_TRUE(items) << bad;
        EXPECT_EQ(items->size(), 2) << bad;
    }
    EXPECT_FALSE(PlannerItem::decodeList(R"({"plannable_id":7})"));
    EXPECT_FALSE(PlannerItem::decodeList("not json"));
    const auto missing = MissingItem::decodeList(R"([{"id":1,"name":"a"},{"id":2},{"id":3,"name":null}])");
    ASSERT_TRUE(missing);
    ASSERT_EQ(missing->size(), 1);
    EXPECT_EQ(missing->first().id, 1);

    const auto nullPlanner = PlannerItem::decodeList(" null\n");
    ASSERT_TRUE(nullPlanner);
    EXPECT_TRUE(nullPlanner->isEmpty());
    const auto nullMissing = MissingItem::decodeList("null");
    ASSERT_TRUE(nullMissing);
    EXPECT_TRUE(nullMissing->isEmpty());

    // Ids past 2^53 come through exactly.
    const auto big = MissingItem::decodeList(R"([{"id":9007199254740993,"name":"x"}])");
    ASSERT_TRUE(big);
    EXPECT_EQ(big->first().id, Q_INT64_C(9007199254740993));
    EXPECT_TRUE(MissingItem::decodeList(R"([{"id":9223372036854775808,"name":"x"}])")->isEmpty());
}

TEST(CanvasMappingTest, PlannerWindowIsCalendarDaysInUtc)
{
    const QTimeZone newYork("America/New_York");
    const struct {
        QDateTime now;
        const char *query;
    } cases[] = {
        {QDateTime(QDate(2026, 1, 5), QTime(9, 0), QTimeZone::utc()),
         "start_date=2026-01-04T09:00:00Z&end_date=2026-01-19T09:00:00Z&per_page=50"},
        // Daylight saving starts on 8 March: calendar days keep 13:00 local.
        {QDateTime(QDate(2026, 3, 8), QTime(17, 0, 30, 250), QTimeZone::utc()),
         "start_date=2026-03-07T18:00:30Z&end_date=2026-03-22T17:00:30Z&per_page=50"},
    };
    for (const auto &c : cases) {
        const QUrl url = CanvasService::plannerItemsUrl("https://school.example", c.now, newYork);
        EXPECT_EQ(url.path(), "/api/v1/planner/items");
        EXPECT_EQ(url.query(), c.query);
    }
}
