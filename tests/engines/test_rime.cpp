// The exported Rime schema, driven through librime as a Rime front end
// drives it: deployed into a temporary user folder, then typed key by key.
// The candidates are compared with the tutor's own candidate search over the
// same dictionary.
//
//   quorvel_rime_tests            the tests
//   quorvel_rime_tests --dump     reads codes from stdin, one a line, and
//                                 prints "code<TAB>committed<TAB>candidates"
//                                 (candidates separated by blanks), for
//                                 scripts/check-engine-exports.py
#include <gtest/gtest.h>
#include <rime_api.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "TutorKeys.h"
#include "practice/CodePunctuation.h"

namespace fs = std::filesystem;

namespace {

struct Typed {
  std::string committed;
  std::vector<std::string> candidates;  // all of them, in order
};

class RimeSession {
 public:
  RimeSession() : api_(rime_get_api()) {
    char pattern[] = "/tmp/quorvel-rime-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("no temporary folder");
    user_ = pattern;
    // The schema list a user writes in default.custom.yaml; here the whole
    // default.yaml, since the test machine need not have rime-data.
    std::ofstream(user_ / "default.yaml") << "schema_list:\n  - schema: lanchuan\n";
    RIME_STRUCT(RimeTraits, traits);
    traits.shared_data_dir = QUORVEL_RIME_DIR;
    userDir_ = user_.string();
    traits.user_data_dir = userDir_.c_str();
    traits.distribution_name = "Quorvel test";
    traits.distribution_code_name = "quorvel-test";
    traits.distribution_version = "1";
    traits.app_name = "rime.quorvel-test";
    traits.min_log_level = 3;
    api_->setup(&traits);
    api_->initialize(&traits);
    if (api_->start_maintenance(True)) api_->join_maintenance_thread();
    session_ = api_->create_session();
    selected_ = api_->select_schema(session_, "lanchuan");
  }
  ~RimeSession() {
    api_->destroy_session(session_);
    api_->finalize();
    std::error_code ec;
    fs::remove_all(user_, ec);
  }
  bool ready() const { return session_ != 0 && selected_; }

  // Types `keys` on an empty composition; returns what was committed and the
  // candidates then on offer.
  Typed type(const std::string& keys) {
    api_->clear_composition(session_);
    api_->simulate_key_sequence(session_, keys.c_str());
    Typed t;
    RIME_STRUCT(RimeCommit, commit);
    if (api_->get_commit(session_, &commit)) {
      t.committed = commit.text ? commit.text : "";
      api_->free_commit(&commit);
    }
    RimeCandidateListIterator it = {};
    if (api_->candidate_list_begin(session_, &it)) {
      while (api_->candidate_list_next(&it)) t.candidates.emplace_back(it.candidate.text);
      api_->candidate_list_end(&it);
    }
    return t;
  }

  // Types a run of keys as a user would, keeping what is committed.
  std::string write(const std::string& keys) {
    api_->clear_composition(session_);
    std::string text;
    for (char k : keys) {
      api_->process_key(session_, k == ' ' ? 0x20 : k, 0);
      RIME_STRUCT(RimeCommit, commit);
      if (api_->get_commit(session_, &commit)) {
        text += commit.text ? commit.text : "";
        api_->free_commit(&commit);
      }
    }
    return text;
  }

 private:
  RimeApi* api_;
  fs::path user_;
  std::string userDir_;
  RimeSessionId session_ = 0;
  bool selected_ = false;
};

const quorvel::enginetest::TutorTable& tutor() {
  static const quorvel::enginetest::TutorTable table(QUORVEL_SOURCE_DIR
                                                     "/resources/tables/base.txt");
  return table;
}
std::vector<std::string> tutorCandidates(const std::string& code) { return tutor().page(code); }

RimeSession* session = nullptr;

class Rime : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(fs::path(QUORVEL_RIME_DIR) / "lanchuan.schema.yaml"))
      GTEST_SKIP() << "the Rime schema was not exported";
    ASSERT_TRUE(session->ready()) << "the schema did not deploy";
  }
};

TEST_F(Rime, EveryPageIsTheTutors) {
  // 社 is zt (level 2) and zts (full); zts is also the level-3 short code of
  // 箨, which the tutor lists first; on one letter and on two the tutor keeps
  // dictionary order across longer codes.
  EXPECT_EQ(session->type("zt").candidates.at(0), "社");
  const auto zts = session->type("zts").candidates;
  ASSERT_GE(zts.size(), 2u);
  EXPECT_EQ(zts[0], "箨");
  EXPECT_EQ(zts[1], "社");
  std::size_t checked = 0;
  for (const auto& code : tutor().typedCodes()) {
    const Typed t = session->type(code);
    const auto want = tutorCandidates(code);
    if (!t.committed.empty())
      EXPECT_EQ(std::vector<std::string>{t.committed}, want) << "code " << code;
    else
      EXPECT_EQ(t.candidates, want) << "code " << code;
    ++checked;
  }
  EXPECT_EQ(checked, tutor().typedCodes().size());
}

TEST_F(Rime, CodeAndDigitEnterWhatTheTutorEnters) {
  const auto steps = tutor().sampleChoices(300);
  ASSERT_GT(steps.size(), 300u);
  for (const auto& step : steps) EXPECT_EQ(session->write(step.keys), step.text) << step.keys;
}

TEST_F(Rime, PunctuationFollowsTheTutorsTable) {
  for (const auto& p : quorvel::codePunctuation())
    EXPECT_EQ(session->write(std::string(1, p.key)), p.text) << "key " << p.key;
  // The quote marks alternate, opening first.
  for (const bool doubled : {false, true}) {
    const auto marks = quorvel::quoteMarks(doubled);
    const std::string key = doubled ? "\"" : "'";
    EXPECT_EQ(session->write(key + key), std::string(marks.open) + marks.close);
  }
}

TEST_F(Rime, ALineOfAShippedTextArrivesWhole) {
  std::ifstream in(QUORVEL_SOURCE_DIR "/resources/practice-texts/06-the-umbrella.txt");
  std::string line;
  while (std::getline(in, line) && line.find("“") != 0) {
  }
  ASSERT_FALSE(line.empty()) << "no line in quotes in the text";
  std::string keys;
  for (const auto& step : tutor().sentence(line)) keys += step.keys;
  EXPECT_EQ(session->write(keys), line);
}

TEST_F(Rime, AUniqueFourLetterCodeCommitsAtOnce) {
  // 人民政府 is the only text under izhg.
  ASSERT_EQ(tutorCandidates("izhg"), std::vector<std::string>{"人民政府"});
  const Typed t = session->type("izhg");
  EXPECT_EQ(t.committed, "人民政府");
  EXPECT_TRUE(t.candidates.empty());
  // A shared four-letter code waits for a choice.
  const Typed shared = session->type("idyh");
  EXPECT_EQ(shared.committed, "");
  EXPECT_GE(shared.candidates.size(), 2u);
}

TEST_F(Rime, ASentenceTypedAsALearnerWould) {
  // Unique four-letter codes commit themselves (我们 ptiu, 学习 suxz, 打字
  // tdbz); 今天 shares idhd with 住户 and is taken with the space bar, or by
  // typing on past four letters; short codes need the space bar (我 p, 在 ss).
  ASSERT_EQ(tutorCandidates("idhd").at(0), "今天");
  ASSERT_EQ(tutorCandidates("ss").at(0), "在");
  EXPECT_EQ(session->write("ptiuidhd suxztdbz."), "我们今天学习打字。");
  EXPECT_EQ(session->write("idhdsuxz"), "今天学习");
  EXPECT_EQ(session->write("p ss suxz,idyh2"), "我在学习，会谈");
}

int dump() {
  std::string code;
  while (std::getline(std::cin, code)) {
    const Typed t = session->type(code);
    std::cout << code << '\t' << t.committed << '\t';
    for (std::size_t i = 0; i < t.candidates.size(); ++i)
      std::cout << (i ? " " : "") << t.candidates[i];
    std::cout << '\n';
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  RimeSession rime;
  session = &rime;
  if (argc > 1 && std::string(argv[1]) == "--dump") return rime.ready() ? dump() : 1;
  return RUN_ALL_TESTS();
}
