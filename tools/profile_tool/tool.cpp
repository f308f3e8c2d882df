#include "tools/profile_tool/tool.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <optional>
#include <random>
#include <string_view>
#include <vector>

#include "config/profile_key.h"
#include "config/profile_reader.h"
#include "platform/joined.h"
#include "tools/profile_tool/commands.h"
#include "tools/profile_tool/profile_check.h"

namespace profile_tool {

using platform::Joined;
namespace {

constexpr const char* kFooter =
    "Passwords are read from standard input (unless new is given --password): asked\n"
    "for without echo at a terminal, one line from a pipe. They hold 2 to 20\n"
    "printable ASCII characters, no blank.\n"
    "Example: brackwater-profile new --output PRD.P00 --extcompany ACME --destination PRD\n"
    "  --client 000 --user MONITOR --language EN --mode R/3 --hostname sapprd01\n"
    "  --sysnr 00 --gwhost sapprd01 --gwservice sapgw00";

std::string FieldDescription(const config::ProfileField& field) {
  return Joined("value of \"", field.label, "\", ", field.minimum_length, " to ",
                std::min(field.capacity, config::kLongestValue), " characters");
}

std::mt19937 SeededGenerator() {
  std::random_device device;
  std::seed_seq seed{
      device(), device(),
      static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count())};
  return std::mt19937(seed);
}

CLI::Option* AddOffsetOption(CLI::App& command, int& offset) {
  return command
      .add_option("--offset", offset,
                  "body offset into the key, 0-9; chosen at random among those that give "
                  "printable characters when left out")
      ->check(CLI::Range(0, config::kHighestOffset));
}

std::optional<int> Given(const CLI::Option* option, int value) {
  return option->count() > 0 ? std::optional<int>(value) : std::nullopt;
}

// A scrambled value may begin with "-", which the parser would take for an
// option: after "unscramble", every argument that is none of its options is
// put behind "--", which makes it the value whatever it begins with.
std::vector<std::string> WithUnscrambleValueProtected(const std::vector<std::string>& arguments) {
  constexpr std::string_view kOptions[] = {"--verify", "-h", "--help"};
  if (arguments.size() < 2 || arguments[1] != "unscramble") return arguments;
  std::vector<std::string> options(arguments.begin(), arguments.begin() + 2);
  std::vector<std::string> values;
  for (auto argument = arguments.begin() + 2; argument != arguments.end(); ++argument) {
    const bool is_option =
        std::find(std::begin(kOptions), std::end(kOptions), *argument) != std::end(kOptions);
    (is_option ? options : values).push_back(*argument);
  }
  if (values.empty() || values.front() == "--") return arguments;
  options.push_back("--");
  options.insert(options.end(), values.begin(), values.end());
  return options;
}

}  // namespace

int RunProfileTool(const std::vector<std::string>& arguments, ToolConsole& console) {
  CLI::App app{"Writes and checks the profile files of the Brackwater sensor.",
               "brackwater-profile"};
  app.require_subcommand(1);
  app.footer(kFooter);

  NewCommand new_command;
  int new_offset = 0;
  CLI::App* new_app = app.add_subcommand(
      "new",
      "write a profile file with all eleven settings; the password comes from standard input");
  std::vector<CLI::Option*> user_options;
  for (const config::ProfileField& field : config::kProfileFields) {
    if (&field != &config::kPasswordField) {
      std::string names = OptionName(field);
      if (field.name == "Hostname") names += ",--host";
      CLI::Option* option =
          new_app->add_option(names, new_command.settings.*field.member, FieldDescription(field));
      if (field.member == &config::ConnectionProfile::User) {
        user_options.push_back(option);
      } else {
        option->required();
      }
    }
  }
  CLI::Option* prtg_option = new_app->add_flag(
      "--prtg-credentials", new_command.prtg_credentials,
      "for a sensor that logs on with PRTG's device credentials (CRED=WINDOWS or CRED=LINUX): "
      "no user and no password in the profile");
  CLI::Option* password_option = new_app->add_option(
      "--password", new_command.password,
      "the password; without it, read from standard input (keeps it out of the shell's "
      "history)");
  CLI::Option* new_offset_option = AddOffsetOption(*new_app, new_offset);
  // A profile for PRTG's credentials holds no password: a password or an
  // offset to scramble it at would be dropped unseen.
  for (CLI::Option* option : user_options) option->excludes(prtg_option);
  password_option->excludes(prtg_option);
  new_offset_option->excludes(prtg_option);
  new_app->add_option("-o,--output", new_command.output, "file to write; standard output without");
  new_app->add_flag("--force", new_command.force, "replace an existing output file");

  int scramble_offset = 0;
  CLI::App* scramble_app = app.add_subcommand(
      "scramble", "print the scrambled form of the password read from standard input");
  CLI::Option* scramble_offset_option = AddOffsetOption(*scramble_app, scramble_offset);

  std::string value;
  bool verify = false;
  CLI::App* unscramble_app = app.add_subcommand(
      "unscramble", "print the password a scrambled value holds, or why the sensor refuses it");
  unscramble_app
      ->add_option("VALUE", value,
                   "the 24 characters after \"Password...: \" (quote it: it may hold characters "
                   "the shell interprets)")
      ->required();
  unscramble_app->add_flag(
      "--verify", verify,
      "compare with a password read from standard input instead of printing it");

  std::string path;
  CLI::App* check_app = app.add_subcommand(
      "check",
      "read a profile file as the sensor does and list every defect; for a listing, each "
      "sensor's item and systems, missing and defective profiles and sensors over " +
          std::to_string(kMostChannels) + " systems");
  bool check_prtg_credentials = false;
  check_app->add_flag("--prtg-credentials", check_prtg_credentials,
                      "the profiles are for a sensor with CRED=: user and password come from PRTG");
  check_app
      ->add_option("FILE", path,
                   "the profile file, or a listing: \"SAP Tessaron.Gbl\" or \"Tessaron.Prf\" "
                   "(by name, in any case)")
      ->required();

  const std::vector<std::string> parsed_arguments = WithUnscrambleValueProtected(arguments);
  std::vector<const char*> argv;
  argv.reserve(parsed_arguments.size());
  for (const std::string& argument : parsed_arguments) {
    argv.push_back(argument.c_str());
  }
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::ParseError& e) {
    app.exit(e, console.out, console.err);
    return e.get_exit_code() == 0 ? kToolSuccess : kToolRefused;
  }

  std::mt19937 random = SeededGenerator();
  if (new_app->parsed()) {
    // The user is required unless PRTG provides it.
    if (!new_command.prtg_credentials && user_options.front()->count() == 0) {
      new_app->exit(CLI::RequiredError(user_options.front()->get_name()), console.out, console.err);
      return kToolRefused;
    }
    new_command.offset = Given(new_offset_option, new_offset);
    return RunNew(new_command, console, random);
  }
  if (scramble_app->parsed()) {
    return RunScramble(Given(scramble_offset_option, scramble_offset), console, random);
  }
  if (unscramble_app->parsed()) {
    return RunUnscramble(value, verify, console);
  }
  return RunCheck(path, check_prtg_credentials, console);
}

}  // namespace profile_tool
