# Checks that the manual page PAGE names every long option that TOOL --help and the help of each
# of its commands list, and that it names no option the tool does not have.
cmake_minimum_required(VERSION 3.25)

function(listed_options help result)
  # Option lines of CLI11's help: two blanks, an optional short form, then the long form and a
  # blank or the line's end (a wrapped text line such as "  --to-...)." is not one).
  # Every line end doubled, so that a match taking the end of one line leaves the next its own.
  string(REPLACE "\n" "\n\n" help "${help}")
  string(REGEX MATCHALL "\n  (-[A-Za-z],)?--[a-z0-9]+(-[a-z0-9]+)*[ \n]" lines "${help}")
  set(options)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE ".*(--[a-z0-9-]+)[ \n]$" "\\1" option "${line}")
    list(APPEND options "${option}")
  endforeach()
  set(${result} "${options}" PARENT_SCOPE)
endfunction()

function(help_of result)
  execute_process(COMMAND "${TOOL}" ${ARGN} --help
                  RESULT_VARIABLE status OUTPUT_VARIABLE help ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${TOOL} ${ARGN} --help failed (${status}): ${errors}")
  endif()
  set(${result} "${help}" PARENT_SCOPE)
endfunction()

help_of(help)
listed_options("${help}" options)

# The commands: the names under "Subcommands:", up to the next empty line.
string(FIND "${help}" "\nSubcommands:\n" start)
if(start EQUAL -1)
  message(FATAL_ERROR "${TOOL} --help lists no commands")
endif()
string(SUBSTRING "${help}" ${start} -1 rest)
string(SUBSTRING "${rest}" 14 -1 rest)
string(FIND "${rest}" "\n\n" end)
string(SUBSTRING "${rest}" 0 ${end} block)
string(REGEX MATCHALL "(^|\n)  [a-z]+" names "${block}")
set(commands)
foreach(name IN LISTS names)
  string(STRIP "${name}" name)
  list(APPEND commands "${name}")
  help_of(command_help ${name})
  listed_options("${command_help}" command_options)
  list(APPEND options ${command_options})
endforeach()
list(REMOVE_DUPLICATES options)
list(LENGTH options option_count)
if(option_count LESS 10)
  message(FATAL_ERROR "only ${option_count} options found in the help: ${options}")
endif()

# The page's text with roff's escaped hyphens and font changes taken out.
file(READ "${PAGE}" page)
string(REPLACE "\\-" "-" page "${page}")
string(REGEX REPLACE "\\\\f[BIRP]" "" page "${page}")
string(REGEX MATCHALL "--[a-z0-9][a-z0-9-]*" named "${page}")
list(REMOVE_DUPLICATES named)

set(missing)
foreach(option IN LISTS options)
  if(NOT option IN_LIST named)
    list(APPEND missing "${option}")
  endif()
endforeach()
set(unknown)
foreach(option IN LISTS named)
  if(NOT option IN_LIST options)
    list(APPEND unknown "${option}")
  endif()
endforeach()

get_filename_component(page_name "${PAGE}" NAME)
if(missing OR unknown)
  message(FATAL_ERROR "${page_name} and the tool's help differ:\n"
                      "  listed by the help, missing from the page: ${missing}\n"
                      "  named by the page, unknown to the tool: ${unknown}")
endif()
list(LENGTH commands command_count)
message("docs.options: ${page_name} names all ${option_count} long options of the help and of "
        "its ${command_count} commands (${commands}), and no other")
