# bash completion for sonarchive-cli.
# The program answers what fits the word being typed (verbs, options, field captions,
# collection ids), so new verbs and options complete without a change here.
_sonarchive_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    local -a answer
    mapfile -t answer < <("${COMP_WORDS[0]}" __complete "${COMP_WORDS[@]:1:COMP_CWORD}" \
        2>/dev/null)
    COMPREPLY=()
    case ${answer[0]-} in
        files)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            ;;
        folders)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            ;;
        words)
            local word
            for word in "${answer[@]:1}"; do
                # A caption such as "Date Added" goes in as one word.
                if [[ $cur == [\"\']* ]]; then
                    COMPREPLY+=("$word")
                else
                    COMPREPLY+=("$(printf '%q' "$word")")
                fi
            done
            ;;
    esac
}
complete -F _sonarchive_cli sonarchive-cli
