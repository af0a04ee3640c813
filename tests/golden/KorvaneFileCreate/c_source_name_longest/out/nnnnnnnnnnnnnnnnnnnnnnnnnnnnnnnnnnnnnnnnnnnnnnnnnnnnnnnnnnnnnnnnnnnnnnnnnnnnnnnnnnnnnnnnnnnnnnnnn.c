static const USER_FILE user_files[] = {
{0} // end of list
};
